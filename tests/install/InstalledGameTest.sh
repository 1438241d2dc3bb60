#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks it as a player's machine sees it: the layout,
# the menu entry and metainfo (with Debian's validators where they are installed), the manual page
# and the licences, and the installed game started from an unrelated working directory, which must
# find its resources, reach the end of the loading screen and keep its saves in the XDG data folder.
#
#   InstalledGameTest.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail

build=$1
scratch=$2
rm -rf "$scratch"
mkdir -p "$scratch"
prefix=$scratch/prefix
source "$(dirname "${BASH_SOURCE[0]}")/GameRun.sh"
source "$(dirname "${BASH_SOURCE[0]}")/Checks.sh"

if ! cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1; then
    cat "$scratch/install.log" >&2
    die "cmake --install failed"
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[[ -n "$version" ]] || die "no project version in $build/CMakeCache.txt"

# --- Layout -------------------------------------------------------------------------------------

icon_sizes=(16 24 32 48 64 128 256)
expected=(
    bin/kestrova
    share/applications/kestrova.desktop
    share/metainfo/org.kestrova.kestrova.metainfo.xml
    share/man/man6/kestrova.6.gz
    share/doc/kestrova/copyright
)
for n in "${icon_sizes[@]}"; do
    expected+=("share/icons/hicolor/${n}x${n}/apps/kestrova.png")
done

# Every file outside the resource tree is one of these, and each of these is there: a test, a
# benchmark, the sandbox or the generator would show up here.
actual=$(cd "$prefix" && find . -path ./share/kestrova/Resources -prune -o \( -type f -o -type l \) -print |
    sed 's|^\./||' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
if [[ "$actual" != "$wanted" ]]; then
    fail "installed files outside the resource tree differ from the expected list:"
    diff <(echo "$wanted") <(echo "$actual") >&2 || true
fi
if [[ -d "$prefix/share/kestrova" ]] && [[ $(ls -A "$prefix/share/kestrova") != Resources ]]; then
    fail "share/kestrova holds more than Resources: $(ls -A "$prefix/share/kestrova" | tr '\n' ' ')"
fi

links=$(find "$prefix" -type l)
[[ -z "$links" ]] || fail "the install holds links (it must be real files): $links"

[[ -x "$prefix/bin/kestrova" ]] || fail "bin/kestrova is not executable"
head -c 4 "$prefix/bin/kestrova" | grep -q $'\x7fELF' || fail "bin/kestrova is no program"

resources=$prefix/share/kestrova/Resources
# The same tree the game runs from in the build folder, file for file and byte for byte.
if ! diff -r "$build/Resources" "$resources" >"$scratch/resources.diff" 2>&1; then
    fail "the installed resource tree differs from the staged one:"
    head -20 "$scratch/resources.diff" >&2
fi
# The staged tree itself is whole: hand-written data, generated art and sound, the font.
for rel in res/fonts/Arial.ttf res/icon.png res/lang res/texts res/ui/Game/ccnode.json res/Scenes res/audio; do
    [[ -e "$resources/$rel" ]] || fail "Resources/$rel is missing"
done
[[ -d "$resources/src" ]] || fail "Resources/src is missing"

# Each icon is a PNG of its folder's size.
for n in "${icon_sizes[@]}"; do
    png="$prefix/share/icons/hicolor/${n}x${n}/apps/kestrova.png"
    [[ -f "$png" ]] || continue
    size=$(od -An -tu1 -j16 -N8 "$png" | awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }')
    [[ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" == 89504e470d0a1a0a ]] || fail "$png is no PNG"
    [[ "$size" == "${n}x${n}" ]] || fail "$png is $size, not ${n}x${n}"
done

# --- Menu entry and metainfo ----------------------------------------------------------------------

desktop=$prefix/share/applications/kestrova.desktop
metainfo=$prefix/share/metainfo/org.kestrova.kestrova.metainfo.xml
if [[ -f "$desktop" ]]; then
    for line in '[Desktop Entry]' 'Type=Application' 'Name=Kestrova' 'Exec=kestrova' 'Icon=kestrova' \
                'Categories=Game;' 'Terminal=false'; do
        grep -qxF "$line" "$desktop" || fail "the desktop entry has no line '$line'"
    done
    grep -qE '^Comment=.{10,}' "$desktop" || fail "the desktop entry has no short Comment"
fi
if [[ -f "$metainfo" ]]; then
    for text in '<id>org.kestrova.kestrova</id>' '<name>Kestrova</name>' \
                '<launchable type="desktop-id">kestrova.desktop</launchable>' '<binary>kestrova</binary>' \
                '<description>' '<summary>' '<project_license>MIT AND Bitstream-Vera</project_license>' \
                "<release version=\"$version\" "; do
        grep -qF "$text" "$metainfo" || fail "the metainfo has no $text"
    done
fi
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
else
    echo "desktop-file-validate is not installed: skipped"
fi
if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"
else
    echo "appstreamcli is not installed: skipped"
fi

# --- Manual page and licences --------------------------------------------------------------------

manual=$prefix/share/man/man6/kestrova.6.gz
if [[ -f "$manual" ]]; then
    # Compressed without a name or time stamp (gzip -n): the same page gives the same bytes.
    [[ "$(od -An -tx1 -j4 -N4 "$manual" | tr -d ' \n')" == 00000000 ]] || fail "the manual page's gzip has a time stamp"
    zcat "$manual" | grep -q '^\.TH KESTROVA 6 ' || fail "the manual page has no .TH KESTROVA 6 header"
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS ENVIRONMENT FILES; do
        zcat "$manual" | grep -qx "\.SH $section" || fail "the manual page has no $section section"
    done
    if command -v man >/dev/null 2>&1; then
        # man -l formats the page as `man kestrova` shows it; groff's warnings are faults of the page.
        if ! MANWIDTH=80 man --warnings -E UTF-8 -l "$manual" >"$scratch/manual.txt" 2>"$scratch/manual.err" ||
            [[ -s "$scratch/manual.err" ]]; then
            fail "man -l reports problems in the manual page:"
            cat "$scratch/manual.err" >&2
        fi
        grep -q 'XDG_DATA_HOME' "$scratch/manual.txt" || fail "the formatted manual page does not name XDG_DATA_HOME"
    else
        echo "man is not installed: the manual page's formatting is not checked"
    fi
fi

copyright=$prefix/share/doc/kestrova/copyright
if [[ -f "$copyright" ]]; then
    head -1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
        fail "the copyright file is not in Debian's machine-readable format"
    # Every font the game ships is listed with its own licence, given in full.
    while IFS= read -r font; do
        rel=${font#"$resources/"}
        grep -qx "Files: Resources/$rel" "$copyright" || fail "the copyright file does not list the font Resources/$rel"
    done < <(find "$resources" -type f \( -iname '*.ttf' -o -iname '*.otf' \))
    # Every licence named is given in full: a "License:" line of that one name followed by its text.
    named=$(sed -n 's/^License: //p' "$copyright" | tr ' ' '\n' | grep -vx 'or\|and' | sort -u)
    given=$(awk '/^License: [^ ]+$/ { name = $2; next } name != "" && /^ / { print name } { name = "" }' "$copyright" |
        sort -u)
    missing=$(comm -23 <(echo "$named") <(echo "$given"))
    [[ -z "$missing" ]] || fail "the copyright file names licences without their text: $missing"
fi

# --- The installed game ---------------------------------------------------------------------------

before=$(cd "$prefix" && find . | sort)
run=$scratch/run
check_game_run "$prefix/bin/kestrova" "$run"
[[ "$(cd "$prefix" && find . | sort)" == "$before" ]] || fail "the game wrote into the install prefix"

# Without its installed resource tree the same binary must miss its files: the run above found them
# there and nowhere else.
if [[ -d "$resources" ]]; then
    mv "$resources" "$resources.away"
    start_game "$prefix/bin/kestrova" "$scratch/run-without-resources"
    wait_for_log 'not found' 60 || fail "the game without its resource tree did not report missing files"
    end_game || true
    mv "$resources.away" "$resources"
fi

finish_checks "installed game: layout, menu entry, metainfo and start from $run/cwd all good"
