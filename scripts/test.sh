#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KESTROVA_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" -DKESTROVA_WERROR=ON
cd "$build"
ctest --output-on-failure -j "${KESTROVA_JOBS:-$(nproc)}"
