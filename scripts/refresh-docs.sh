#!/usr/bin/env bash
# Redraws the pictures the README shows: the scripted walk through every page in Polish and in
# English (docs/snapshots/) and the stored layouts as they are loaded (docs/layouts/).
set -euo pipefail
cd "$(dirname "$0")/.."

DBINST_SNAPSHOT_DIR=docs/snapshots env -u DISPLAY -u WAYLAND_DISPLAY ./run.sh
cmake --build build -j "$(nproc)" --target layout-snapshots
build/tools/layout-snapshots build/resources/forms docs/layouts
