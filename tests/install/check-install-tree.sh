#!/usr/bin/env bash
# Installs the build into a temporary prefix, as `cmake --install BUILD --prefix DIR` does for a
# user, and checks the tree: every program runs with --version, every man page renders with its
# synopsis, the desktop entries validate and name installed programs and icons, the MIME
# package builds a database, the thumbnailer turns a texture into a PNG, the image-format
# plugin lies in the prefix's own Qt plugin folder and reads textures, and nothing else is
# installed.
# Usage: check-install-tree.sh --build DIR --version V --programs "A B" --desktop "A"
#            --plugins RELDIR --plugin-tests PROGRAM
set -uo pipefail

while [ $# -gt 0 ]; do
    case $1 in
        --build) build=$2 ;;
        --version) version=$2 ;;
        --programs) programs=$2 ;;
        --desktop) desktop=$2 ;;
        --plugins) plugins=$2 ;;
        --plugin-tests) plugin_tests=$2 ;;
        *) echo "unknown argument $1" >&2; exit 2 ;;
    esac
    shift 2
done

prefix=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$prefix" "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
export LC_ALL=C.UTF-8 PATH="$prefix/bin:$PATH"

if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    echo "FAIL: cmake --install" >&2
    exit 1
fi
echo "installed into $prefix:"
(cd "$prefix" && find . -type f | sort | sed 's/^/  /')

icon_sizes="16 24 32 48 64 128 256"
expected=()
for p in $programs; do
    expected+=("bin/$p" "share/man/man1/$p.1.gz")
done
for p in $desktop; do
    expected+=("share/applications/slipway-$p.desktop" "share/icons/hicolor/scalable/apps/slipway-$p.svg")
    for s in $icon_sizes; do
        expected+=("share/icons/hicolor/${s}x${s}/apps/slipway-$p.png")
    done
done
expected+=("share/mime/packages/slipway.xml" "share/thumbnailers/slipway-pixmill.thumbnailer"
           "$plugins/imageformats/libslipway_tf_imageformat.so")

# Exactly the expected files, no more (no static library or header leaks into the package).
printf '%s\n' "${expected[@]}" | sort >"$work/expected"
(cd "$prefix" && find . -type f | sed 's|^\./||' | sort) >"$work/found"
if ! diff -u "$work/expected" "$work/found" >"$work/tree.diff"; then
    fail "the installed files differ from the expected ones (- missing, + unexpected):"
    grep -E '^[-+][^-+]' "$work/tree.diff" >&2
fi

for p in $programs; do
    out=$("$prefix/bin/$p" --version 2>&1)
    status=$?
    [ $status -eq 0 ] && [ "$out" = "$p $version" ] ||
        fail "$p --version exited $status and printed '$out', not '$p $version'"
    page="$prefix/share/man/man1/$p.1.gz"
    text=$(MANWIDTH=100 man -l "$page" 2>&1)
    status=$?
    # The synopsis section shows the program's own name.
    synopsis=$(sed -n '/^SYNOPSIS/,/^[A-Z]/p' <<<"$text")
    [ $status -eq 0 ] && grep -qE "^ +$p( |$)" <<<"$synopsis" ||
        fail "man -l $page exited $status or shows no synopsis of $p"
done

system_types=/usr/share/mime/types
XDG_DATA_DIRS="$prefix/share" update-mime-database "$prefix/share/mime" >"$work/mime.out" 2>&1
status=$?
[ $status -eq 0 ] && [ ! -s "$work/mime.out" ] ||
    fail "update-mime-database exited $status: $(cat "$work/mime.out")"
for type in model/x-slipway-clf model/x-slipway-cff application/x-slipway-def \
            application/x-slipway-sail image/x-slipway-tf; do
    grep -qx "$type" "$prefix/share/mime/types" 2>/dev/null || fail "the MIME database lacks $type"
done

for p in $desktop; do
    entry="$prefix/share/applications/slipway-$p.desktop"
    report=$(desktop-file-validate "$entry" 2>&1)
    [ $? -eq 0 ] && [ -z "$report" ] || fail "desktop-file-validate $entry: $report"
    exec_line=$(sed -n 's/^Exec=//p' "$entry")
    [ "$exec_line" = "$p %f" ] || fail "$entry runs '$exec_line', not '$p %f'"
    [ "$(sed -n 's/^Icon=//p' "$entry")" = "slipway-$p" ] || fail "$entry has another icon"
    for type in $(sed -n 's/^MimeType=//p' "$entry" | tr ';' ' '); do
        grep -qx "$type" "$prefix/share/mime/types" "$system_types" ||
            fail "$entry names the MIME type $type that no database describes"
    done
done

# The thumbnailer, run as a file manager runs it, on a texture made by the installed programs.
thumbnailer="$prefix/share/thumbnailers/slipway-pixmill.thumbnailer"
read -r -a command <<<"$(sed -n 's/^Exec=//p' "$thumbnailer")"
for type in $(sed -n 's/^MimeType=//p' "$thumbnailer" | tr ';' ' '); do
    grep -qx "$type" "$prefix/share/mime/types" || fail "$thumbnailer names the unknown type $type"
done
if slipway-demo-ship "$work/demo" >/dev/null &&
    pixmill convert --jobs 1 "$work/demo/hull_planks.tga" 2>"$work/convert.err"; then
    words=()
    for word in "${command[@]}"; do
        case $word in
            %i) words+=("$work/demo/hull_planks.tf") ;;
            %o) words+=("$work/thumbnail.png") ;;
            %s) words+=(64) ;;
            *) words+=("$word") ;;
        esac
    done
    "${words[@]}" || fail "the thumbnailer '${words[*]}' failed"
    # PNG signature, then the IHDR chunk's width and height.
    header=$(od -A n -t x1 -N 24 "$work/thumbnail.png" 2>/dev/null | tr -d ' \n')
    [ "${header:0:16}" = 89504e470d0a1a0a ] && [ "${header:32:16}" = 0000004000000040 ] ||
        fail "the thumbnail of a 128 x 128 texture at 64 is not a 64 x 64 PNG ($header)"
else
    fail "the installed programs could not make a texture: $(cat "$work/convert.err")"
fi

# Qt finds the plugin through the prefix's own plugin folder.
QT_PLUGIN_PATH="$prefix/$plugins" "$plugin_tests" \
    --gtest_filter='TfImagePlugin.QtKnowsTheFormat:TfImagePlugin.Reads*' >"$work/plugin.log" 2>&1 ||
    { cat "$work/plugin.log" >&2; fail "Qt does not read textures through the installed plugin"; }

if [ $failures -gt 0 ]; then
    echo "$failures check(s) of the installed tree failed" >&2
    exit 1
fi
echo "the installed tree is complete"
