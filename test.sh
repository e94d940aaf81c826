#!/usr/bin/env bash
# Installs what is missing, checks formatting and the order of the layers' includes, builds with
# warnings as errors and runs every test, then builds and runs them once more under
# AddressSanitizer and UndefinedBehaviorSanitizer.
# --quick skips the sanitizer pass.
set -euo pipefail
cd "$(dirname "$0")"

bash scripts/deps.sh
bash scripts/check-format.sh
python3 scripts/check-layers.py

jobs=$(nproc)
run_suite() {
  local dir=$1 type=$2
  shift 2
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DDBINST_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  (cd "$dir" && ctest --output-on-failure -j "$jobs")
}

run_suite build RelWithDebInfo
if [[ "${1:-}" != "--quick" ]]; then
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    run_suite build-sanitize Debug -DDBINST_SANITIZE=ON
fi
