#!/usr/bin/env bash
# Configures and builds into build/ (or $KESTROVA_BUILD_DIR) with $KESTROVA_JOBS parallel jobs (default: all
# cores). Extra arguments go to CMake's configure.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KESTROVA_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build" -j "${KESTROVA_JOBS:-$(nproc)}"
