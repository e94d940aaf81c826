#!/usr/bin/env bash
# Installs what is missing, builds the installer and runs it on the prefix of WINEPREFIX (or
# ~/.wine); when no prefix exists, on a demo prefix built in build/demo-prefix.
set -euo pipefail
cd "$(dirname "$0")"

bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target dbinstall make-demo-prefix pack-installer

prefix=${WINEPREFIX:-$HOME/.wine}
if [[ ! -f "$prefix/system.reg" ]]; then
  prefix=$PWD/build/demo-prefix
  echo "No Wine prefix found; using the demo prefix $prefix"
  ./build/tools/make-demo-prefix "$prefix"
fi
WINEPREFIX=$prefix exec ./build/app/dbinstall "$@"
