#!/usr/bin/env bash
# Regenerates the artwork (assets/*.jpg, the PNG icons under
# share/icons/hicolor) from make_artwork.cpp and the scalable icon. Needs
# qt6-base-dev, qt6-svg-dev and libjpeg62-turbo-dev; the build itself only
# reads the committed files.
set -euo pipefail
HERE="$(cd "$(dirname "$0")" && pwd)"
TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT
g++ -std=c++20 -O1 -fPIC "$HERE/make_artwork.cpp" -o "$TMP/make_artwork" \
  $(pkg-config --cflags --libs Qt6Gui Qt6Svg) -ljpeg
"$TMP/make_artwork" "$HERE" "$HERE/../share"
ls -l "$HERE"/*.jpg "$HERE"/../share/icons/hicolor/*/apps/*
