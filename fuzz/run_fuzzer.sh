#!/usr/bin/env bash
# Fuzzes one target for a while from a fresh copy of its seed corpus, so
# that the committed seeds stay as they are; inputs that crash are kept in
# the work folder. Ends with the fuzzer's status and its final statistics.
#   run_fuzzer.sh FUZZER SEED_DIR WORK_DIR SECONDS [LIBFUZZER_OPTIONS...]
set -euo pipefail
fuzzer=$1
seeds=$2
work=$3
seconds=$4
shift 4

rm -rf "$work/corpus"
mkdir -p "$work/corpus" "$work/crashes"
cp "$seeds"/* "$work/corpus/"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
  -artifact_prefix="$work/crashes/" "$@" "$work/corpus"
