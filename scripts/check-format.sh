#!/usr/bin/env bash
# Fails when a C++ file differs from what clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h')
((${#files[@]})) || exit 0
if ! clang-format --dry-run --Werror "${files[@]}"; then
  echo "Formatting differs; run: clang-format -i \$(git ls-files '*.cpp' '*.h')" >&2
  exit 1
fi
