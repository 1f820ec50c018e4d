# Shared by scripts/test and scripts/run: installs what is missing, then configures.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian packages the build, the tests and the demo need.
PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev libjpeg-dev
          libgtest-dev libgmock-dev dpkg-dev file clang-format)

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Installing needs root: run this as root, or install sudo." >&2; exit 1; }
    sudo="sudo"
  fi
  # apt's and dpkg's own lines only when something goes wrong (sudo asks for
  # its password on the terminal, not through this output).
  local log
  log="$(mktemp)"
  if ! { $sudo apt-get update -qq &&
         $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"; } \
       >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "Installing ${missing[*]} failed (apt's output above)." >&2
    exit 1
  fi
  rm -f "$log"
}

# require_display <command as the user typed it>: the tool's windows need an
# X or Wayland display, or a Qt platform that needs none (offscreen, vnc, ...).
# Without one, says what to do and exits, before anything is installed or built.
require_display() {
  [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] && return 0
  case "${QT_QPA_PLATFORM:-}" in
    offscreen* | vnc* | minimal* | linuxfb* | eglfs* | vkkhrdisplay*) return 0 ;;
  esac
  cat >&2 <<MESSAGE
There is no display to show the tool's windows on (DISPLAY and WAYLAND_DISPLAY
are not set${QT_QPA_PLATFORM:+, and QT_QPA_PLATFORM=$QT_QPA_PLATFORM needs one}). Start it:
  - in a terminal of a desktop session;
  - over ssh with X forwarding: connect with 'ssh -X', then run $*;
  - under a virtual X server, with nothing to see (for checks): xvfb-run -a $*
  - through Qt's VNC platform: QT_QPA_PLATFORM=vnc $*
    then connect a VNC viewer to port 5900 of this machine.
MESSAGE
  exit 1
}

# configure <build-dir> [cmake options...]
configure() {
  local dir="$1"; shift
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

# Options for programs built with -DMORVEL_SANITIZE=ON: every finding fails the
# run. Leaks are checked; the suppressions name only other libraries' leaks.
sanitizer_environment() {
  export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  export LSAN_OPTIONS="suppressions=$ROOT/tests/robustness/lsan.supp:print_suppressions=0"
}

# The project's C++ sources, for the formatter.
cpp_sources() {
  (cd "$ROOT" && find src app tests bench fuzz tools assets -name '*.cpp' -o -name '*.h' | sort)
}
