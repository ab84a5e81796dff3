#!/usr/bin/env bash
# Makes the portable ZIP: the program, its README and its LICENSE in one
# folder. The entries' order and times are fixed (SOURCE_DATE_EPOCH when
# set, else the earliest time a ZIP holds), so the same files give the same
# archive.
#   make_zip.sh OUT.zip PROGRAM README LICENSE
set -euo pipefail
out=$(realpath -m "$1")
program=$2
readme=$3
license=$4
# The same folder in every release: a package manager unpacks each upgrade
# over the last one, and start at logon names the program by its path, so a
# folder named after the version would leave it pointing at one that is gone.
folder=Shelfcloak

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$folder"
cp "$program" "$stage/$folder/Shelfcloak.exe"
cp "$readme" "$stage/$folder/README.txt"
cp "$license" "$stage/$folder/LICENSE.txt"
entries=("$folder/Shelfcloak.exe" "$folder/README.txt" "$folder/LICENSE.txt")

epoch=${SOURCE_DATE_EPOCH:-315532800}  # 1980-01-01 00:00 UTC
chmod 0644 "${entries[@]/#/$stage/}"
touch -d "@$epoch" "${entries[@]/#/$stage/}"

mkdir -p "$(dirname "$out")"
rm -f "$out"
# -X leaves out the owner and extra times; TZ fixes the local time ZIP stores.
(cd "$stage" && TZ=UTC zip -q -X -D "$out" "${entries[@]}")
