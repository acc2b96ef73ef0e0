#!/usr/bin/env bash
# CI stage: fails when a tracked C++ file differs from what .clang-format makes of it, and names the files.
# Usage: scripts/check-format.sh        (run scripts/format.sh to fix what it reports)
set -euo pipefail
cd "$(dirname "$0")/.."

unformatted=()
while IFS= read -r file; do
  if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
    unformatted+=("$file")
  fi
done < <(git ls-files '*.cpp' '*.h')

if [ ${#unformatted[@]} -ne 0 ]; then
  echo "check-format: not formatted with .clang-format (run scripts/format.sh):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "check-format: every C++ file is formatted"
