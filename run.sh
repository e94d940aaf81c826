#!/usr/bin/env bash
# Installs what is missing, builds the installer and starts the wizard on the prefix of WINEPREFIX
# (or ~/.wine); when no prefix exists, on a demo prefix built in build/demo-prefix. Without a
# display it walks through every page by script instead, in Polish and in English, on demo
# prefixes of its own: a snapshot of each page goes to build/snapshots/ (or the folder named by
# DBINST_SNAPSHOT_DIR; scripts/refresh-docs.sh points it at docs/snapshots/), the log to the terminal.
set -euo pipefail
cd "$(dirname "$0")"

bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target dbinstall make-demo-prefix

installer=$PWD/build/app/dbinstall
snapshots=$(realpath -m "${DBINST_SNAPSHOT_DIR:-build/snapshots}")

# One command to the scripted installer, and its answer.
send() {
  echo "$1" >&"${WIZARD[1]}"
  local answer
  read -r answer <&"${WIZARD[0]}"
  case $answer in *'"error"'*) echo "  $1: $answer" >&2 ;; esac
  REPLY=$answer
}
# A command whose answer comes only after the ones sent behind it (it opens a window or runs the
# installation, which take those commands meanwhile).
send_later() { echo "$1" >&"${WIZARD[1]}"; }
collect() { local answer; read -r answer <&"${WIZARD[0]}"; }
finish() {
  exec {WIZARD[1]}>&-
  local code=0
  wait "$WIZARD_PID" || code=$?
  echo "  the installer ended with exit code $code"
}

walk() {
  local language=$1 flag=$2
  local prefix=$PWD/build/walk-$language shots=$snapshots/$language
  mkdir -p "$shots"
  ./build/tools/make-demo-prefix "$prefix" $flag >/dev/null
  echo "Scripted walk ($language) on the demo prefix $prefix"

  coproc WIZARD { WINEPREFIX=$prefix DBINST_HEADLESS=1 DBINST_SCRIPT=- "$installer"; }
  send "snapshot $shots/01-welcome.png"
  send "click ButtonMkay"
  send "snapshot $shots/02-choose-path.png"
  send_later "click RadioButtonChoosePathChooseManually"
  send "snapshot $shots/03-folder-browser.png"
  send "click ButtonCancel"
  collect
  send "click RadioButtonChoosePathMainOne"
  send "click ButtonMkay"
  send "snapshot $shots/06-final.png"
  send "log"
  echo "$REPLY" | python3 -c 'import json, sys; print("\n".join(json.load(sys.stdin)["log"]))'
  send_later "click ButtonMkay"
  finish

  # The databases are now in the program: a second run shows what it would overwrite, and the
  # installation page as the installation starts (the snapshot is taken while it runs).
  coproc WIZARD { WINEPREFIX=$prefix DBINST_HEADLESS=1 DBINST_SCRIPT=- "$installer"; }
  send "click ButtonMkay"
  send "click ButtonMkay"
  send "snapshot $shots/04-verify-path.png"
  send_later "click ButtonMkay"
  send "snapshot $shots/05-install.png"
  collect
  send_later "click ButtonMkay"
  finish

  # A file where the tiles folder should be: the tiles database cannot go in, and the final page
  # says which database was not installed and why; nothing of the program changes for it.
  local tiles="$prefix/drive_c/Program Files (x86)/Velmora/Orvane 2/Plytki"
  rm -rf "$tiles" && echo "in the way" > "$tiles"
  coproc WIZARD { WINEPREFIX=$prefix DBINST_HEADLESS=1 DBINST_SCRIPT=- "$installer"; }
  send "click ButtonMkay"
  send "click ButtonMkay"
  send "click ButtonMkay"
  send "snapshot $shots/07-failed.png"
  send_later "click ButtonMkay"
  finish
  echo "Snapshots of every page: $shots"
}

has_display() {
  [[ ${DBINST_HEADLESS:-0} != 1 ]] && [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]
}

if ! has_display; then
  echo "No display: walking through the wizard by script instead of opening its window."
  walk pl --polish
  walk en ""
  exit 0
fi

prefix=${WINEPREFIX:-$HOME/.wine}
if [[ ! -f "$prefix/system.reg" ]]; then
  prefix=$PWD/build/demo-prefix
  echo "No Wine prefix found; using the demo prefix $prefix"
  ./build/tools/make-demo-prefix "$prefix"
fi
WINEPREFIX=$prefix exec "$installer" "$@"
