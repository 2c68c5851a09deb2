#!/usr/bin/env bash
# Keeps a program's --help and its man page from drifting apart: every option (-x, --long) and
# every command (the word after the program's name at the start of a usage line) that --help
# names must appear in the man page's source as a word of its own.
# Usage: check-man-page-options.sh PROGRAM PAGE NAME...   (NAMEs: what --help calls the program)
set -euo pipefail

program=$1 page=$2
shift 2
names=$(IFS='|'; echo "$*")

help=$("$program" --help 2>&1) || { echo "$program --help failed" >&2; exit 1; }
options=$(grep -oE -e '(^|[^A-Za-z0-9_-])--?[A-Za-z][A-Za-z0-9-]*' <<<"$help" \
          | sed -E 's/^[^-]+//' || true)
# Commands are read from the usage lines only (up to the first blank line), not from examples,
# where a file name may follow the program's name.
usage=$(sed -n '/^[Uu]sage:/,/^[[:space:]]*$/p' <<<"$help")
commands=$(grep -E -e "^([Uu]sage:)?[[:space:]]*($names)[[:space:]]+[a-z]" <<<"$usage" \
           | sed -E "s/^([Uu]sage:)?[[:space:]]*($names)[[:space:]]+([a-z][a-z0-9-]*).*/\3/" \
           || true)

words=$(printf '%s\n' $options $commands | sort -u)
missing=()
for word in $words; do
    if ! grep -qE -e "(^|[^A-Za-z0-9-])${word}([^A-Za-z0-9-]|\$)" "$page"; then
        missing+=("$word")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "$(basename "$page") does not describe what $(basename "$program") --help names:" \
         "${missing[*]}" >&2
    exit 1
fi
echo "$(basename "$page"): every option and command of --help is described" \
     "($(wc -w <<<"$words") checked)"
