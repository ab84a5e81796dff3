#!/usr/bin/env bash
# The portable ZIP holds exactly the program of this build, its README and
# its LICENSE in one folder, the same for every version, and making it twice
# gives the same archive.
#   portable_zip_test.sh MAKE_ZIP PROGRAM README LICENSE
set -euo pipefail
make_zip=$1
program=$2
readme=$3
license=$4

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
folder=Shelfcloak
"$make_zip" "$tmp/first.zip" "$program" "$readme" "$license"
# ZIP times have a resolution of two seconds.
sleep 2
"$make_zip" "$tmp/second.zip" "$program" "$readme" "$license"

status=0
expected=$(printf '%s\n' "$folder/LICENSE.txt" "$folder/README.txt" "$folder/Shelfcloak.exe")
entries=$(unzip -Z1 "$tmp/first.zip" | sort)
if [[ $entries != "$expected" ]]; then
  printf 'WRONG ENTRIES:\n%s\nexpected:\n%s\n' "$entries" "$expected" >&2
  status=1
fi
check() {
  if unzip -p "$tmp/first.zip" "$folder/$1" | cmp -s - "$2"; then
    echo "same: $1"
  else
    echo "DIFFERS: $1 is not $2" >&2
    status=1
  fi
}
check Shelfcloak.exe "$program"
check README.txt "$readme"
check LICENSE.txt "$license"
if ! cmp "$tmp/first.zip" "$tmp/second.zip"; then
  echo "NOT REPRODUCIBLE: two runs of $make_zip wrote different archives" >&2
  status=1
fi
unzip -tq "$tmp/first.zip" || status=1
exit $status
