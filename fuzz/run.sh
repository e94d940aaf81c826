#!/usr/bin/env bash
# Builds the form-stream fuzz targets with clang's libFuzzer and runs one.
#   fuzz/run.sh [stream|text] [RUNS]     (default: stream, 10 million runs)
# Seeds are the fixture forms, compiled; new findings land in fuzz/out/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:-stream}
runs=${2:-10000000}
out=fuzz/out
mkdir -p "$out/bin" "$out/corpus-stream" "$out/corpus-text" "$out/crashes"

sources=(ui/FormValue.cpp ui/FormStreamReader.cpp ui/FormStreamWriter.cpp ui/FormText.cpp
         platform/Text.cpp)
flags=(-std=c++20 -O1 -g -I. -fsanitize=address,undefined -fno-sanitize-recover=all)

clang++ "${flags[@]}" tools/form_compiler.cpp "${sources[@]}" -o "$out/bin/formc"
for form in tests/fixtures/forms/*.txt resources/forms/*.txt; do
  "$out/bin/formc" "$form" "$out/corpus-stream/$(basename "$form" .txt).bin"
  cp "$form" "$out/corpus-text/"
done

case "$target" in
  stream) fuzzer=fuzz/FormStreamFuzz.cpp ;;
  text) fuzzer=fuzz/FormTextFuzz.cpp ;;
  *) echo "unknown target $target (stream or text)" >&2; exit 2 ;;
esac
clang++ "${flags[@]}" -fsanitize=fuzzer "$fuzzer" "${sources[@]}" -o "$out/bin/fuzz-$target"
"$out/bin/fuzz-$target" -runs="$runs" -rss_limit_mb=2048 -timeout=10 \
  -artifact_prefix="$out/crashes/" "$out/corpus-$target"
