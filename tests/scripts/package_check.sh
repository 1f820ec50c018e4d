#!/usr/bin/env bash
# Makes the Debian package from a built tree and checks it: its contents and
# dependencies, the version its metainfo and changelog give, lintian and
# appstreamcli (no error, no warning) when they are installed; then unpacks
# it into a temporary root and starts the program from there on the
# offscreen platform, in a fresh working directory.
#   package_check.sh BUILD
set -euo pipefail
BUILD="$1"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
fail() { echo "package_check: $*" >&2; exit 1; }
ID=com.morvel.morvel_config

cpack --config "$BUILD/CPackConfig.cmake" -B "$WORK/out" >"$WORK/cpack.log" 2>&1 ||
  { cat "$WORK/cpack.log" >&2; fail "cpack failed"; }
DEBS=("$WORK"/out/morvel-config_*_amd64.deb)
[ ${#DEBS[@]} -eq 1 ] && [ -f "${DEBS[0]}" ] || fail "no single morvel-config_*_amd64.deb in $(ls "$WORK/out")"
DEB="${DEBS[0]}"
VERSION="$(dpkg-deb -f "$DEB" Version)"

dpkg-deb -c "$DEB" | awk '{print $6}' >"$WORK/contents"
for f in usr/bin/morvel_config usr/share/applications/$ID.desktop usr/share/metainfo/$ID.metainfo.xml \
         usr/share/man/man1/morvel_config.1.gz usr/share/doc/morvel-config/{copyright,changelog.gz} \
         usr/share/icons/hicolor/scalable/apps/$ID.svg \
         usr/share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/$ID.png \
         usr/share/morvel_config/{banner_setup,banner_dialup,banner_product,splash,about_logo,app_icon}@2x.jpg; do
  grep -qx "./$f" "$WORK/contents" || fail "$f missing; the package holds: $(cat "$WORK/contents")"
done
DEPENDS="$(dpkg-deb -f "$DEB" Depends)"
for lib in libqt6widgets6 libjpeg62-turbo; do
  [[ "$DEPENDS" == *"$lib "* ]] || fail "Depends lacks $lib: $DEPENDS"
done

dpkg-deb -x "$DEB" "$WORK/root"
grep -qx "Exec=morvel_config" "$WORK/root/usr/share/applications/$ID.desktop" ||
  fail "the desktop entry does not start morvel_config"
grep -q "<release version=\"$VERSION\"" "$WORK/root/usr/share/metainfo/$ID.metainfo.xml" ||
  fail "the metainfo's latest release is not $VERSION"
zcat "$WORK/root/usr/share/doc/morvel-config/changelog.gz" | head -1 | grep -q "^morvel-config ($VERSION)" ||
  fail "the changelog's latest entry is not $VERSION"

checked=()
if command -v lintian >/dev/null; then
  lintian --fail-on error,warning "$DEB" >"$WORK/lintian.out" 2>&1 || fail "lintian: $(cat "$WORK/lintian.out")"
  checked+=(lintian)
fi
if command -v appstreamcli >/dev/null; then
  # Infos and pedantic hints pass; an error or a warning fails.
  appstreamcli validate-tree --no-net "$WORK/root" >"$WORK/appstream.out" 2>&1 &&
    ! grep -q '^[EW]:' "$WORK/appstream.out" || fail "appstreamcli: $(cat "$WORK/appstream.out")"
  checked+=(appstreamcli)
fi

mkdir "$WORK/home"
cd "$WORK/home"
QT_QPA_PLATFORM=offscreen MORVEL_EXIT_AFTER_SHOW=1 "$WORK/root/usr/bin/morvel_config" >"$WORK/run.out" 2>"$WORK/run.err" ||
  { cat "$WORK/run.err" >&2; fail "the unpacked program did not start"; }
grep -qx 'shown' "$WORK/run.out" || fail "the main window was not shown"
! grep -q 'picture not shown' "$WORK/run.err" || fail "$(cat "$WORK/run.err")"
[ -f language.cfg ] || fail "language.cfg not written into the working directory"
[ ${#checked[@]} -gt 0 ] && clean="${checked[*]} clean" || clean="not checked by lintian and appstreamcli (not installed)"
echo "package_check: $(basename "$DEB") holds the program, its pictures, desktop entry, metainfo, icons," \
  "manual page, copyright and changelog, and starts unpacked; $clean"
