#!/usr/bin/env bash
# run_fuzz_target.sh <target> <artifact prefix> [libFuzzer options] <corpus folder> <seed folders...>
# Fuzzes for $KESTROVA_FUZZ_SECONDS seconds (default 10) under ASan and UBSan; any report fails the
# run and leaves the input under the artifact prefix.
set -euo pipefail
target=$1
artifacts=$2
shift 2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1:suppressions=$here/../ubsan-suppressions.txt}
exec "$target" -max_total_time="${KESTROVA_FUZZ_SECONDS:-10}" -timeout=20 -rss_limit_mb=2560 \
    -malloc_limit_mb=1024 -print_final_stats=1 -artifact_prefix="$artifacts" "$@"
