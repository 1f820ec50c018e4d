#!/usr/bin/env bash
# Without a display, scripts/run and scripts/start say what to do and stop
# at once (before installing or building anything); a platform that needs no
# display starts the tool.
#   display_check.sh BUILD
set -euo pipefail
BUILD="$1"
SCRIPTS="$(cd "$(dirname "$0")/../../scripts" && pwd)"
fail() { echo "display_check: $*" >&2; exit 1; }

# refused <env settings...> -- <command...>: exits non-zero with the advice.
refused() {
  local settings=()
  while [ "$1" != "--" ]; do settings+=("$1"); shift; done
  shift
  local out rc=0
  out="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${settings[@]}" "$@" 2>&1 </dev/null)" || rc=$?
  [ "$rc" -ne 0 ] || fail "$* exited 0 without a display"
  for word in "no display" "ssh -X" "xvfb-run" "QT_QPA_PLATFORM=vnc"; do
    [[ "$out" == *"$word"* ]] || fail "$* did not mention '$word'; it said: $out"
  done
  [[ "$out" != *Installing* && "$out" != *ninja* ]] || fail "$* went on to install or build: $out"
}

refused -- "$SCRIPTS/run" --demo
refused -- "$SCRIPTS/start" "$BUILD"
refused QT_QPA_PLATFORM=xcb -- "$SCRIPTS/start" "$BUILD"

# With the offscreen platform the tool starts (and ends after its first paint).
out="$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen MORVEL_EXIT_AFTER_SHOW=1 \
       "$SCRIPTS/start" "$BUILD" 2>&1 </dev/null)" || fail "offscreen start failed: $out"
[[ "$out" == *shown* ]] || fail "offscreen start showed no window: $out"
echo "display_check: refused without a display, started offscreen"
