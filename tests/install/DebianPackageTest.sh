#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks it as Debian would: cpack refuses a
# package without a real maintainer address; the package holds the game in /usr/games with its
# manual page, copyright file and signed changelog; the game unpacked from it starts and finds its
# resources; and lintian, where it is installed, finds nothing to report.
#
#   DebianPackageTest.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail

build=$1
scratch=$2
rm -rf "$scratch"
mkdir -p "$scratch"
source "$(dirname "${BASH_SOURCE[0]}")/GameRun.sh"
source "$(dirname "${BASH_SOURCE[0]}")/Checks.sh"

for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null 2>&1 || die "$tool is not installed (scripts/install-deps.sh installs it)"
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[[ -n "$version" ]] || die "no project version in $build/CMakeCache.txt"

# Packages into its own folder, leaving the build folder's own packages alone.
#   package OUTPUT_DIR CONTACT
package() {
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$1" -D CPACK_PACKAGE_CONTACT="$2"
}

# --- The maintainer -------------------------------------------------------------------------------

# No package without a maintainer whose address could be real; cpack says so before staging.
refused_contacts=(
    ''
    'Kestrova developers'
    'Kestrova developers <kestrova@localhost>'
    '<kestrova@kestrova.invalid>'
)
for contact in "${refused_contacts[@]}"; do
    out=$scratch/refused
    rm -rf "$out"
    if package "$out" "$contact" >"$scratch/refused.log" 2>&1; then
        fail "cpack made a package for the maintainer '$contact'"
    elif ! grep -q "maintainer" "$scratch/refused.log"; then
        fail "cpack refused the maintainer '$contact' without saying why:"
        tail -5 "$scratch/refused.log" >&2
    fi
    [[ -z "$(find "$out" -name '*.deb' 2>/dev/null)" ]] || fail "a package was left for the maintainer '$contact'"
    [[ ! -d "$out/_CPack_Packages" ]] || fail "cpack staged files for the maintainer '$contact' before refusing"
done

# A test's own address, in a domain reserved never to exist.
contact='Kestrova install test <install-test@kestrova.invalid>'
if ! package "$scratch/package" "$contact" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    die "cpack -G DEB failed"
fi
debs=("$scratch"/package/kestrova_*.deb)
((${#debs[@]} == 1)) && [[ -f "${debs[0]}" ]] || die "cpack made no single kestrova_*.deb: ${debs[*]}"
deb=${debs[0]}

# --- Control fields -------------------------------------------------------------------------------

field() { dpkg-deb -f "$deb" "$1"; }
[[ "$(field Package)" == kestrova ]] || fail "Package is '$(field Package)'"
[[ "$(field Version)" == "$version" ]] || fail "Version is '$(field Version)', not $version"
[[ "$(field Maintainer)" == "$contact" ]] || fail "Maintainer is '$(field Maintainer)', not '$contact'"
[[ "$(field Section)" == games ]] || fail "Section is '$(field Section)'"
grep -q 'libsdl2' <<<"$(field Depends)" || fail "Depends does not name SDL: '$(field Depends)'"
long=$(field Description | awk 'length > 79')
[[ -z "$long" ]] || fail "description lines of 80 characters or more: $long"

# --- Files ----------------------------------------------------------------------------------------

icon_sizes=(16 24 32 48 64 128 256)
expected=(
    usr/games/kestrova
    usr/share/applications/kestrova.desktop
    usr/share/metainfo/org.kestrova.kestrova.metainfo.xml
    usr/share/man/man6/kestrova.6.gz
    usr/share/doc/kestrova/copyright
    usr/share/doc/kestrova/changelog.gz
)
for n in "${icon_sizes[@]}"; do
    expected+=("usr/share/icons/hicolor/${n}x${n}/apps/kestrova.png")
done
root=$scratch/root
dpkg-deb -x "$deb" "$root"
actual=$(cd "$root" && find . -path ./usr/share/kestrova/Resources -prune -o \( -type f -o -type l \) -print |
    sed 's|^\./||' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
if [[ "$actual" != "$wanted" ]]; then
    fail "packaged files outside the resource tree differ from the expected list:"
    diff <(echo "$wanted") <(echo "$actual") >&2 || true
fi
if ! diff -r "$build/Resources" "$root/usr/share/kestrova/Resources" >"$scratch/resources.diff" 2>&1; then
    fail "the packaged resource tree differs from the staged one:"
    head -20 "$scratch/resources.diff" >&2
fi
[[ -f "$root/usr/games/kestrova" ]] && head -c 4 "$root/usr/games/kestrova" | grep -q $'\x7fELF' ||
    fail "usr/games/kestrova is no program"

# The menu entry's command is found on Debian's default PATH (/etc/profile), which holds /usr/games.
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root/usr/share/applications/kestrova.desktop")
found=""
for dir in usr/local/bin usr/bin bin usr/local/games usr/games; do
    if [[ -n "$program" && -x "$root/$dir/$program" ]]; then
        found=$dir/$program
        break
    fi
done
[[ "$found" == usr/games/kestrova ]] || fail "the menu entry's command '$program' is not usr/games/kestrova on Debian's PATH"

# The changelog starts at this version and every entry is signed by the maintainer.
changelog=$root/usr/share/doc/kestrova/changelog.gz
if [[ -f "$changelog" ]]; then
    zcat "$changelog" | head -1 | grep -q "^kestrova ($version) " ||
        fail "the changelog does not start at version $version: $(zcat "$changelog" | head -1)"
    entries=$(zcat "$changelog" | grep -c '^kestrova (' || true)
    signed=$(zcat "$changelog" | grep -cF -- " -- $contact  " || true)
    ((signed == entries)) || fail "$signed of the changelog's $entries entries are signed by '$contact'"
    [[ "$(od -An -tx1 -j4 -N4 "$changelog" | tr -d ' \n')" == 00000000 ]] || fail "the changelog's gzip has a time stamp"
fi

# --- The packaged game ----------------------------------------------------------------------------

# Unpacked as dpkg would unpack it, the binary in usr/games finds usr/share/kestrova/Resources.
check_game_run "$root/usr/games/kestrova" "$scratch/run"

# --- lintian --------------------------------------------------------------------------------------

if command -v lintian >/dev/null 2>&1; then
    # Errors and warnings (what lintian shows by default), each one a failure; its notes on stderr
    # (running as root) are none. The warning a package without a maintainer would get (empty-field
    # Maintainer) cannot come up: cpack refuses to make one (above).
    status=0
    lintian "$deb" >"$scratch/lintian.txt" 2>"$scratch/lintian.err" || status=$?
    if [[ -s "$scratch/lintian.txt" ]]; then
        fail "lintian reports:"
        cat "$scratch/lintian.txt" >&2
    elif ((status != 0)); then
        fail "lintian failed with status $status:"
        cat "$scratch/lintian.err" >&2
    fi
else
    echo "lintian is not installed: skipped"
fi

finish_checks "Debian package: maintainer, control fields, files, the unpacked game and lintian all good"
