#!/usr/bin/env bash
# Installs the Debian packages the project needs to build, run and test.
# Idempotent: only missing packages are installed, and the list says which.
set -euo pipefail

packages=(
    # build
    cmake g++ make pkg-config
    libsfml-dev libx11-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    # fuzzing and sanitizer runtimes
    clang libclang-rt-14-dev
    # window and audio tests
    xvfb xauth xdotool x11-utils imagemagick sox libsox-fmt-all vorbis-tools
    # terminal tests: a terminal emulator library to read the screen, and a
    # multiplexer to try the game in a terminal of any size by hand
    libvterm-dev tmux
    # a software OpenAL back end that works without a sound card, and its
    # headers for the start-up check for an audio device
    libopenal1 libopenal-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "deps: all ${#packages[@]} packages are installed"
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

echo "deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
