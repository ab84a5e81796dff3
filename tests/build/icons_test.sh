#!/usr/bin/env bash
# The committed icons are exactly what the generator draws, the generator
# draws the same bytes every time, and the committed files have the images,
# sizes and bit depths the resource script expects.
#   icons_test.sh PYTHON SCRIPT RES_DIR
set -euo pipefail
python=$1
script=$2
res=$3

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Two runs under different hash seeds: nothing may depend on set or dict
# hashing order.
PYTHONHASHSEED=1 "$python" "$script" --out "$tmp/first"
PYTHONHASHSEED=2 "$python" "$script" --out "$tmp/second"

status=0
for name in program.ico small.ico; do
  if ! cmp -s "$tmp/first/$name" "$tmp/second/$name"; then
    echo "NOT REPRODUCIBLE: two runs of $script wrote different $name" >&2
    status=1
  elif ! cmp "$tmp/first/$name" "$res/$name"; then
    echo "DIFFERS: $res/$name is not what $script writes (rerun it)" >&2
    status=1
  else
    echo "same: $name"
  fi
done

"$python" "$(dirname "$script")/check_icons.py" "$res" || status=1
exit $status
