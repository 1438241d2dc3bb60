#!/usr/bin/env bash
# Installs what is missing, then tests with both compilers, warnings as errors in each:
# 1. g++ into build/ (or $KESTROVA_BUILD_DIR): every target, every test.
# 2. clang into build-clang/ (or $KESTROVA_CLANG_BUILD_DIR), instrumented for libFuzzer under ASan and
#    UBSan: every target again, the unit tests, then each fuzz target for $KESTROVA_FUZZ_SECONDS
#    seconds (default 10).
# $KESTROVA_JOBS limits the parallel jobs (default: all cores). A compiler launcher such as ccache is
# used when CMAKE_CXX_COMPILER_LAUNCHER names one; nothing here needs it.
# The tests keep to the build trees and the temporary folder: afterwards the user's data and pictures
# folders and the source tree must hold what they held before (user-folders.sh), else this fails.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KESTROVA_BUILD_DIR:-$root/build}
clang_build=${KESTROVA_CLANG_BUILD_DIR:-$root/build-clang}
jobs=${KESTROVA_JOBS:-$(nproc)}
export KESTROVA_JOBS=$jobs

"$root/scripts/install-deps.sh"

source "$root/scripts/user-folders.sh"
build_trees=("$root/build*" "$(realpath -m "$build")" "$(realpath -m "$clang_build")")
untouched=$(user_folders_listing "$root" "${build_trees[@]}")
check_user_folders() {
    local status=$? now
    now=$(user_folders_listing "$root" "${build_trees[@]}")
    if [[ "$now" != "$untouched" ]]; then
        echo "FAIL: the tests touched the user's folders or the source tree (+ appeared, - vanished or changed):" >&2
        diff <(echo "$untouched") <(echo "$now") | sed -n 's/^> /+ /p; s/^< /- /p' >&2
        status=1
    fi
    exit "$status"
}
trap check_user_folders EXIT

# The compiler is chosen when a build folder is first configured; CC and CXX are read only then.
CC=gcc CXX=g++ KESTROVA_BUILD_DIR=$build "$root/scripts/build.sh" -DKESTROVA_WERROR=ON
(cd "$build" && ctest --output-on-failure -j "$jobs")

CC=clang CXX=clang++ KESTROVA_BUILD_DIR=$clang_build "$root/scripts/build.sh" -DKESTROVA_WERROR=ON \
    -DKESTROVA_FUZZ=ON
# Any UBSan report fails the test that caused it; the suppressions name third-party faults only.
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1:suppressions=$root/tests/ubsan-suppressions.txt}
# LeakSanitizer runs with the unit tests too: an object a test leaves unfreed fails that test.
(cd "$clang_build" && ctest --output-on-failure -j "$jobs" -L unit)
(cd "$clang_build" && ctest --output-on-failure -j "$jobs" -L fuzz -LE unit)
