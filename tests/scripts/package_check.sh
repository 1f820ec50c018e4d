#!/usr/bin/env bash
# Makes the Debian package from a built tree, checks its contents and
# dependencies, unpacks it into a temporary root and starts the program from
# there on the offscreen platform, in a fresh working directory.
#   package_check.sh BUILD
set -euo pipefail
BUILD="$1"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
fail() { echo "package_check: $*" >&2; exit 1; }

cpack --config "$BUILD/CPackConfig.cmake" -B "$WORK/out" >"$WORK/cpack.log" 2>&1 ||
  { cat "$WORK/cpack.log" >&2; fail "cpack failed"; }
DEBS=("$WORK"/out/morvel-config_*_amd64.deb)
[ ${#DEBS[@]} -eq 1 ] && [ -f "${DEBS[0]}" ] || fail "no single morvel-config_*_amd64.deb in $(ls "$WORK/out")"
DEB="${DEBS[0]}"

dpkg-deb -c "$DEB" | awk '{print $6}' >"$WORK/contents"
for f in usr/bin/morvel_config usr/share/applications/morvel_config.desktop \
         usr/share/icons/hicolor/64x64/apps/morvel_config.png \
         usr/share/morvel_config/{banner_setup,banner_dialup,banner_product,splash,about_logo}.jpg; do
  grep -qx "./$f" "$WORK/contents" || fail "$f missing; the package holds: $(cat "$WORK/contents")"
done
DEPENDS="$(dpkg-deb -f "$DEB" Depends)"
for lib in libqt6widgets6 libjpeg62-turbo; do
  [[ "$DEPENDS" == *"$lib "* ]] || fail "Depends lacks $lib: $DEPENDS"
done

dpkg-deb -x "$DEB" "$WORK/root"
grep -qx "Exec=morvel_config" "$WORK/root/usr/share/applications/morvel_config.desktop" ||
  fail "the desktop entry does not start morvel_config"
mkdir "$WORK/home"
cd "$WORK/home"
QT_QPA_PLATFORM=offscreen MORVEL_EXIT_AFTER_SHOW=1 "$WORK/root/usr/bin/morvel_config" >"$WORK/run.out" 2>"$WORK/run.err" ||
  { cat "$WORK/run.err" >&2; fail "the unpacked program did not start"; }
grep -qx 'shown' "$WORK/run.out" || fail "the main window was not shown"
! grep -q 'picture not shown' "$WORK/run.err" || fail "$(cat "$WORK/run.err")"
[ -f language.cfg ] || fail "language.cfg not written into the working directory"
echo "package_check: $(basename "$DEB") holds the program, its pictures, desktop entry and icon, and starts unpacked"
