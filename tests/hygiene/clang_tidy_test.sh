#!/usr/bin/env bash
# clang-tidy with the project's .clang-tidy over the given sources and the
# platform-free headers they include (app/, platform/, settings/, taskbar/,
# but not platform/win32/). Any finding fails.
#   clang_tidy_test.sh CLANG_TIDY BUILD_DIR SOURCE_DIR SOURCE...
set -euo pipefail
clang_tidy=$1
build=$2
source=$3
shift 3

if [[ ! -f $build/compile_commands.json ]]; then
  echo "no $build/compile_commands.json: configure with the native preset" >&2
  exit 1
fi
escaped=$(sed 's/[][\.*^$+?(){}|]/\\&/g' <<<"$source")
headers="^$escaped/(app|platform|settings|taskbar)/[^/]+\\.h\$"

status=0
output=$("$clang_tidy" -p "$build" --quiet --warnings-as-errors='*' --header-filter="$headers" \
  "$@" 2>&1) || status=$?
# The count of suppressed warnings in system headers says nothing.
grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' <<<"$output" || true
if ((status != 0)); then
  echo "clang-tidy found problems in the platform-free code" >&2
  exit 1
fi
echo "clang-tidy: $# sources, no findings"
