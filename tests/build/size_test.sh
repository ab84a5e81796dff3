#!/usr/bin/env bash
# The program file stays within its budget, resources included.
#   size_test.sh PROGRAM LIMIT_BYTES
set -euo pipefail
program=$1
limit=$2
size=$(stat -c %s "$program")
echo "$program: $size bytes (limit $limit)"
if ((size > limit)); then
  echo "the program grew past its budget by $((size - limit)) bytes" >&2
  exit 1
fi
