#!/usr/bin/env bash
# Every C++ file of the repository (tracked, or new and not ignored) is as
# clang-format writes it with the project's .clang-format.
#   format_test.sh CLANG_FORMAT SOURCE_DIR
set -euo pipefail
clang_format=$1
cd "$2"

files=()
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  while IFS= read -r file; do
    [[ -f $file ]] && files+=("$file")
  done < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h')
else
  while IFS= read -r file; do
    files+=("$file")
  done < <(find . -path ./build -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print)
fi
if ((${#files[@]} == 0)); then
  echo "no C++ files found in $PWD" >&2
  exit 1
fi

if ! "$clang_format" --dry-run -Werror "${files[@]}"; then
  echo "NOT FORMATTED: run $clang_format -i on the files above" >&2
  exit 1
fi
echo "${#files[@]} files formatted"
