#!/usr/bin/env bash
# Regenerates the artwork (assets/*.jpg, share/morvel_config.png) from
# make_artwork.cpp. Needs qt6-base-dev and libjpeg62-turbo-dev; the build
# itself only reads the committed files.
set -euo pipefail
HERE="$(cd "$(dirname "$0")" && pwd)"
TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT
g++ -std=c++20 -O1 -fPIC "$HERE/make_artwork.cpp" -o "$TMP/make_artwork" \
  $(pkg-config --cflags --libs Qt6Gui) -ljpeg
"$TMP/make_artwork" "$HERE" "$HERE/../share"
ls -l "$HERE"/*.jpg "$HERE/../share/morvel_config.png"
