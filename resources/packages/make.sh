#!/usr/bin/env bash
# Makes the sample packages the default build carries from the files in samples/: a tiles package
# in the newer format, and an interiors package encrypted with the installer's password. Each
# package is a description (DBnn.ini) and a 7z archive (DBnn.7z).
set -euo pipefail
cd "$(dirname "$0")"

password=lipa_srebrnej_wierzby

unpacked_size() { find "$1" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }'; }

make_archive() { # folder archive [7zz switches...]
  local folder=$1 archive=$2
  shift 2
  rm -f "$archive"
  (cd "$folder" && 7zz a -bd -t7z -m0=lzma2 -ms=on "$@" "$OLDPWD/$archive" . >/dev/null)
}

make_archive samples/tiles DB01.7z
printf '[info]\r\nBAZA=Sample Tiles 2026\r\nDATA=2026\r\nMDATE=2026-12-01\r\nIDBAZY=14\r\n[INSTALL]\r\nTYPE=TILES\r\nTARGETNAME=SampleTiles\r\nTARGETSIZE=%s\r\nFORMATFDB=1\r\n' \
  "$(unpacked_size samples/tiles)" >DB01.ini

make_archive samples/interiors DB02.7z "-p$password"
printf '[info]\r\nBAZA=Sample Lamps\r\nDATA=2026\r\nMDATE=2026-11-20\r\n[INSTALL]\r\nTYPE=INTERIOR\r\nTARGETNAME=SampleLamps\r\nTARGETSIZE=%s\r\n' \
  "$(unpacked_size samples/interiors)" >DB02.ini
