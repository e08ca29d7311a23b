#!/usr/bin/env bash
# Regenerates the game's sound effects (WAV) and music loops (OGG) into sounds/.
#
# Everything is synthesised from scratch with sox; the music is written as note
# tables below and encoded with oggenc. Run from anywhere:
#
#     bash tools/make-sounds.sh [output-directory]
#
# The output directory defaults to sounds/ next to this script's parent.
# Needs: sox, oggenc (Debian packages sox and vorbis-tools).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="${1:-$here/../sounds}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

for tool in sox oggenc; do
    command -v "$tool" >/dev/null || { echo "make-sounds: '$tool' not found" >&2; exit 1; }
done

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

RATE=44100

# sox with repeatable random numbers (-R, for the noise) and no dither (-D), so
# that a rerun gives the same samples. Any clipping is treated as a fault.
sx() {
    local log="$tmp/sox.log" msg
    if ! sox -R -D -V2 "$@" 2>"$log"; then
        cat "$log" >&2
        echo "make-sounds: sox failed: sox $*" >&2
        exit 1
    fi
    msg="$(<"$log")"
    if [[ -n "$msg" ]]; then
        echo "$msg" >&2
        if [[ "$msg" == *clipped* ]]; then
            echo "make-sounds: clipping in: sox $*" >&2
            exit 1
        fi
    fi
}

# A new mono file of $RATE Hz made by sox's synth: gen OUT.wav SYNTH-AND-EFFECTS...
gen() {
    local o="$1"; shift
    sx -r "$RATE" -c 1 -n -b 16 "$o" "$@"
}

# Semitones from A4 (440 Hz) of a note name such as C4, F#3, Bb5.
semis() {
    local n="$1" letter acc oct s
    letter="${n:0:1}"
    case "$n" in
        ?\#*) acc=1;  oct="${n:2}" ;;
        ?b*)  acc=-1; oct="${n:2}" ;;
        *)    acc=0;  oct="${n:1}" ;;
    esac
    case "$letter" in
        C) s=-9 ;; D) s=-7 ;; E) s=-5 ;; F) s=-4 ;; G) s=-2 ;; A) s=0 ;; B) s=2 ;;
        *) echo "make-sounds: bad note '$n'" >&2; exit 1 ;;
    esac
    echo $(( s + acc + (oct - 4) * 12 ))
}

# ---------------------------------------------------------------------------
# Sequencer. A voice is a list of tokens NOTE:LEN (LEN in sixteenth notes,
# NOTE a name such as A4 or r for a rest). Every note is a separate sox synth
# with a short attack and release, so each one starts and ends at silence and
# the voice lasts exactly the sum of its lengths in samples.
#
# voice OUT.wav UNIT-SAMPLES WAVEFORM RELEASE-SECONDS "EFFECTS" TOKENS...
voice() {
    local o="$1" unit="$2" wave="$3" rel="$4" fx="$5"; shift 5
    local d i=0 tok note len n
    d="$tmp/v.$(basename "$o" .wav)"
    mkdir -p "$d"
    for tok in "$@"; do
        note="${tok%%:*}"; len="${tok##*:}"
        n=$(( len * unit ))
        if [[ "$note" == r ]]; then
            gen "$(printf '%s/%04d.wav' "$d" "$i")" trim 0 "${n}s"
        else
            # shellcheck disable=SC2086 # $fx is a list of sox effects
            gen "$(printf '%s/%04d.wav' "$d" "$i")" \
                synth "${n}s" "$wave" "%$(semis "$note")" $fx \
                fade q 0.006 "${n}s" "$rel"
        fi
        i=$(( i + 1 ))
    done
    sx "$d"/*.wav "$o"
}

# Drum track: one token per sixteenth: k kick, s snare, h hat, kh kick+hat,
# sh snare+hat, - nothing. Each hit fits in one sixteenth and ends silent.
drums() {
    local o="$1" unit="$2"; shift 2
    local d="$tmp/drums" i=0 tok
    mkdir -p "$d"
    local tail=$(( unit - 100 )) half=$(( unit / 2 ))
    gen "$d/k.wav" synth "${unit}s" sine 150:40 gain -2 fade q 0.002 "${unit}s" "${tail}s"
    gen "$d/sn.wav" synth "${unit}s" whitenoise gain -8 highpass 300 fade q 0.001 "${unit}s" "${tail}s"
    gen "$d/st.wav" synth "${unit}s" sine 190 gain -8 fade q 0.001 "${unit}s" "${tail}s"
    sx -m -v 0.7 "$d/sn.wav" -v 0.3 "$d/st.wav" "$d/s.wav"
    gen "$d/h.wav" synth "${half}s" whitenoise gain -14 highpass 7000 \
        fade q 0.001 "${half}s" "$(( half - 50 ))s" pad 0 "$(( unit - half ))s"
    sx -m -v 0.8 "$d/k.wav" -v 0.5 "$d/h.wav" "$d/kh.wav"
    sx -m -v 0.8 "$d/s.wav" -v 0.5 "$d/h.wav" "$d/sh.wav"
    gen "$d/-.wav" trim 0 "${unit}s"
    mkdir -p "$d/seq"
    for tok in "$@"; do
        cp "$d/$tok.wav" "$(printf '%s/seq/%04d.wav' "$d" "$i")"
        i=$(( i + 1 ))
    done
    sx "$d"/seq/*.wav "$o"
}

# Fails unless FILE is exactly SAMPLES long.
expect_length() {
    local f="$1" want="$2" have
    have="$(sox --i -s "$f")"
    if [[ "$have" != "$want" ]]; then
        echo "make-sounds: $(basename "$f") has $have samples, expected $want" >&2
        exit 1
    fi
}

# Mixes voices (FILE VOLUME pairs), normalises to -1 dBFS and encodes as OGG.
# mix_to_ogg OUT.ogg SAMPLES FILE VOL [FILE VOL]...
mix_to_ogg() {
    local o="$1" total="$2"; shift 2
    local args=() f
    while (( $# )); do
        expect_length "$1" "$total"
        args+=(-v "$2" "$1"); shift 2
    done
    f="$tmp/$(basename "$o" .ogg).wav"
    sx -m "${args[@]}" -b 16 "$f" gain -n -1
    expect_length "$f" "$total"
    oggenc -Q -q 4 -s 20240601 -o "$o" "$f"
}

# Chord arpeggio of one bar in eighths: arp ROOT THIRD FIFTH
arp() { local r="$1" t="$2" f="$3"; echo "$r:2 $f:2 $t:2 $f:2 $r:2 $f:2 $t:2 $f:2"; }
# Driving bass bar in eighths: bass LOW HIGH
bass8() { local l="$1" h="$2"; echo "$l:2 $l:2 $h:2 $l:2 $l:2 $l:2 $h:2 $l:2"; }

# ---------------------------------------------------------------------------
# Effects

# click: a short bright two-tone blip
gen "$tmp/c1.wav" synth 0.035 square 1320 gain -14 fade q 0.002 0.035 0.02
gen "$tmp/c2.wav" synth 0.05 square 1980 gain -14 fade q 0.002 0.05 0.04
sx "$tmp/c1.wav" "$tmp/c2.wav" -b 16 "$out/click.wav" lowpass 6000 gain -n -6

# crash splash: a low thump and a burst of spray that falls away
gen "$tmp/thump.wav" synth 0.5 sine 110:35 fade q 0.003 0.5 0.45
gen "$tmp/spray.wav" synth 1.3 pinknoise gain -6 lowpass 5000 highpass 250 \
    fade q 0.01 1.3 1.2 tremolo 13 30
gen "$tmp/drops.wav" synth 1.3 whitenoise gain -12 band 2500 1200 \
    fade q 0.25 1.3 0.9 tremolo 23 60
sx -m -v 0.5 "$tmp/thump.wav" -v 0.35 "$tmp/spray.wav" -v 0.25 "$tmp/drops.wav" \
    -b 16 "$out/crash_splash.wav" gain -n -1

# pick up: a quick rising major arpeggio with a shimmering top note
pick=()
for n in C6 E6 G6; do
    gen "$tmp/p_$n.wav" synth 0.06 square "%$(semis "$n")" gain -12 fade q 0.003 0.06 0.02
    pick+=("$tmp/p_$n.wav")
done
gen "$tmp/p_top.wav" synth 0.3 square "%$(semis C7)" tremolo 18 40 gain -12 fade q 0.003 0.3 0.25
sx "${pick[@]}" "$tmp/p_top.wav" -b 16 "$out/pick_up.wav" lowpass 7000 gain -n -4

# game over voice: four sung syllables, "game o-ver", falling G4 F4 E4 C4, a
# buzzy source shaped by three vowel formants (roughly an "ah")
syll=()
i=0
for tok in G4:0.28 F4:0.28 E4:0.32 C4:0.9; do
    n="${tok%%:*}"; len="${tok##*:}"
    s="$(semis "$n")"
    if [[ "$n" == C4 ]]; then
        # the last syllable sags a little in pitch as it fades
        freq="%${s}:%$(( s - 1 ))"
    else
        freq="%${s}"
    fi
    gen "$tmp/gv_src_$i.wav" synth "$len" sawtooth "$freq" gain -10 \
        fade q 0.03 "$len" 0.08
    syll+=("$tmp/gv_src_$i.wav")
    i=$(( i + 1 ))
done
sx "${syll[@]}" "$tmp/gv_src.wav"
sx "$tmp/gv_src.wav" "$tmp/gv_f1.wav" band 750 160
sx "$tmp/gv_src.wav" "$tmp/gv_f2.wav" band 1150 200
sx "$tmp/gv_src.wav" "$tmp/gv_f3.wav" band 2600 300
sx -m -v 0.55 "$tmp/gv_f1.wav" -v 0.3 "$tmp/gv_f2.wav" -v 0.15 "$tmp/gv_f3.wav" \
    -b 16 "$out/game_over_voice.wav" tremolo 5.5 12 gain -n -1 fade q 0.005 -0 0.2

# speed increase: a short upward whoosh; it restarts on every space-bar event,
# so the first few milliseconds must already sound right
gen "$tmp/su_tone.wav" synth 0.22 square 330:990 gain -12 lowpass 3000 fade q 0.004 0.22 0.08
gen "$tmp/su_air.wav" synth 0.22 whitenoise gain -12 highpass 2500 fade q 0.004 0.22 0.1
sx -m -v 0.7 "$tmp/su_tone.wav" -v 0.3 "$tmp/su_air.wav" \
    -b 16 "$out/speed_increase.wav" gain -n -6

# ---------------------------------------------------------------------------
# Menu music: 100 beats per minute, 4/4, 8 bars in C major, relaxed.
# Chords: C | Am | F | G | C | Am | F G | C
MENU_BEAT=$(( RATE * 60 / 100 ))        # 26460 samples
MENU_UNIT=$(( MENU_BEAT / 4 ))          # a sixteenth
MENU_TOTAL=$(( MENU_BEAT * 4 * 8 ))

menu_lead=(
    E5:4 D5:2 C5:2 E5:4 G5:4
    A5:6 G5:2 E5:8
    F5:4 E5:2 D5:2 C5:4 A4:4
    B4:4 D5:4 G5:6 r:2
    E5:4 D5:2 C5:2 E5:4 G5:4
    C6:6 B5:2 A5:4 E5:4
    A5:4 F5:4 D5:4 B4:4
    C5:12 r:4
)
menu_bass=(
    C3:6 C3:2 G2:4 C3:4
    A2:6 A2:2 E2:4 A2:4
    F2:6 F2:2 C3:4 F2:4
    G2:6 G2:2 D3:4 G2:4
    C3:6 C3:2 G2:4 C3:4
    A2:6 A2:2 E2:4 A2:4
    F2:6 F2:2 G2:6 G2:2
    C3:6 C3:2 G2:4 C2:4
)
# shellcheck disable=SC2207
menu_arp=(
    $(arp C4 E4 G4) $(arp A3 C4 E4) $(arp F3 A3 C4) $(arp G3 B3 D4)
    $(arp C4 E4 G4) $(arp A3 C4 E4)
    F3:2 C4:2 A3:2 C4:2 G3:2 D4:2 B3:2 D4:2
    $(arp C4 E4 G4)
)
voice "$tmp/menu_lead.wav" "$MENU_UNIT" triangle 0.05 "gain -8" "${menu_lead[@]}"
voice "$tmp/menu_bass.wav" "$MENU_UNIT" sawtooth 0.04 "gain -8 lowpass 600" "${menu_bass[@]}"
voice "$tmp/menu_arp.wav"  "$MENU_UNIT" square 0.03 "gain -16 lowpass 1800" "${menu_arp[@]}"
mix_to_ogg "$out/menu_music.ogg" "$MENU_TOTAL" \
    "$tmp/menu_lead.wav" 0.45 "$tmp/menu_bass.wav" 0.35 "$tmp/menu_arp.wav" 0.2

# ---------------------------------------------------------------------------
# Game music: 140 beats per minute, 4/4, 16 bars in A minor, driving.
# Chords, four times: Am | F | C | G
GAME_BEAT=$(( RATE * 60 / 140 ))        # 18900 samples
GAME_UNIT=$(( GAME_BEAT / 4 ))
GAME_TOTAL=$(( GAME_BEAT * 4 * 16 ))

game_lead=(
    A4:2 C5:2 E5:2 A5:4 G5:2 E5:2 C5:2
    F5:4 E5:2 C5:2 A4:4 C5:4
    G4:2 C5:2 E5:2 G5:4 E5:2 G5:2 C6:2
    B5:4 A5:2 G5:2 D5:6 r:2
    A4:2 C5:2 E5:2 A5:4 G5:2 E5:2 C5:2
    F5:4 A5:2 C6:2 A5:4 F5:4
    E5:4 G5:2 E5:2 C5:4 E5:4
    D5:4 B4:2 D5:2 G5:8
    E5:3 E5:3 A5:2 C6:4 B5:2 A5:2
    C6:3 A5:3 F5:2 A5:8
    G5:3 E5:3 C5:2 E5:4 G5:4
    B5:3 G5:3 D5:2 G5:8
    E5:3 E5:3 A5:2 C6:4 D6:2 E6:2
    C6:3 A5:3 F5:2 C6:4 A5:4
    G5:3 E5:3 G5:2 C6:4 B5:2 G5:2
    B5:4 D6:4 B5:2 A5:2 G5:2 E5:2
)
game_bass=()
for _ in 1 2 3 4; do
    # shellcheck disable=SC2207
    game_bass+=( $(bass8 A2 A3) $(bass8 F2 F3) $(bass8 C3 C4) $(bass8 G2 G3) )
done
game_drums=()
for (( bar = 1; bar <= 16; bar++ )); do
    if (( bar % 4 == 0 )); then
        # a small fill at the end of every phrase
        game_drums+=(kh - h - sh - h - kh - sh - s s sh s)
    else
        game_drums+=(kh - h - sh - h - kh - kh - sh - h -)
    fi
done
voice "$tmp/game_lead.wav" "$GAME_UNIT" square 0.03 "gain -10 lowpass 3500" "${game_lead[@]}"
voice "$tmp/game_bass.wav" "$GAME_UNIT" sawtooth 0.02 "gain -8 lowpass 700" "${game_bass[@]}"
drums "$tmp/game_drums.wav" "$GAME_UNIT" "${game_drums[@]}"
mix_to_ogg "$out/game_music.ogg" "$GAME_TOTAL" \
    "$tmp/game_lead.wav" 0.4 "$tmp/game_bass.wav" 0.35 "$tmp/game_drums.wav" 0.25

echo "make-sounds: wrote the sounds into $out"
