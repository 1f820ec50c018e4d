# Shared by scripts/test and scripts/run: installs what is missing, then configures.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian packages the build, the tests and the demo need.
PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev libjpeg-dev
          libgtest-dev libgmock-dev)

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
  $sudo apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
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
