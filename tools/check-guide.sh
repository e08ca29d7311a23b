#!/bin/sh
# Checks that every code block the guide quotes from an example is, byte for
# byte, the region of the example's source marked with the same name:
#   guide:  <!-- quote hello/main.cpp hero -->  followed by a fenced block
#   source: // [guide: hero] ... // [guide end]
# usage: check-guide.sh GUIDE EXAMPLES_DIR
guide=$1
examples=$2
status=0
blocks=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
grep -o '<!-- quote [^ ]* [^ ]* -->' "$guide" > "$tmp/quotes"
while read -r _ _ file name _; do
    blocks=$((blocks + 1))
    awk -v name="$name" '
        $0 ~ "^[ ]*// \\[guide: " name "\\]$" { inside = 1; next }
        inside && $0 ~ "^[ ]*// \\[guide end\\]$" { exit }
        inside { print }' "$examples/$file" > "$tmp/source"
    awk -v marker="<!-- quote $file $name -->" '
        $0 == marker { found = 1; next }
        found == 1 && /^```/ { found = 2; next }
        found == 2 && /^```$/ { exit }
        found == 2 { print }' "$guide" > "$tmp/quoted"
    if [ ! -s "$tmp/source" ]; then
        echo "$guide: no region '$name' in $examples/$file"
        status=1
    elif ! cmp -s "$tmp/source" "$tmp/quoted"; then
        echo "$guide: the quote of '$name' differs from $examples/$file:"
        diff "$tmp/source" "$tmp/quoted"
        status=1
    fi
done < "$tmp/quotes"
if [ "$blocks" -eq 0 ]; then
    echo "$guide: quotes nothing"
    status=1
fi
exit $status
