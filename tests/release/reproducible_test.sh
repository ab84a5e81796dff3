#!/usr/bin/env bash
# Two clean builds of the program from the same sources, one after the
# other in two new folders, give a byte-identical Shelfcloak.exe: nothing in
# it may depend on the time or the folder of the build.
#   reproducible_test.sh SOURCE_DIR BUILD_ROOT GENERATOR TOOLCHAIN_FILE BUILD_TYPE
set -euo pipefail
source_dir=$1
root=$2
generator=$3
toolchain=$4
build_type=$5

mkdir -p "$root"
first=$(mktemp -d "$root/first.XXXXXX")
second=$(mktemp -d "$root/second.XXXXXX")
trap 'rm -rf "$first" "$second"' EXIT

build() {
  local dir=$1
  if ! { cmake -S "$source_dir" -B "$dir" -G "$generator" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
           -DCMAKE_BUILD_TYPE="$build_type" -DSHELFCLOAK_TESTS=OFF &&
         cmake --build "$dir" --target Shelfcloak -j2; } >"$dir.log" 2>&1; then
    cat "$dir.log" >&2
    echo "the build in $dir failed" >&2
    rm -f "$dir.log"
    return 1
  fi
  rm -f "$dir.log"
}

build "$first"
# A second apart at least, so that a time stamp cannot come out the same.
sleep 1
build "$second"

if ! cmp "$first/Shelfcloak.exe" "$second/Shelfcloak.exe"; then
  echo "NOT REPRODUCIBLE: two clean builds wrote different Shelfcloak.exe" >&2
  exit 1
fi
echo "same: Shelfcloak.exe, $(stat -c %s "$first/Shelfcloak.exe") bytes"
