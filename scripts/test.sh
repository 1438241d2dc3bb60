#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test; then a short fuzz run
# of the save loader in a separate clang build.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KESTROVA_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" -DKESTROVA_WERROR=ON
(cd "$build" && ctest --output-on-failure -j "${KESTROVA_JOBS:-$(nproc)}")

if command -v clang++ >/dev/null 2>&1; then
    fuzz_build="$build-fuzz"
    cmake -S "$root" -B "$fuzz_build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTROVA_BUILD_BENCH=OFF >/dev/null
    cmake --build "$fuzz_build" -j "$(nproc)" --target kestrova_save_fuzz
    (cd "$fuzz_build" && ctest --output-on-failure -L fuzz)
fi
