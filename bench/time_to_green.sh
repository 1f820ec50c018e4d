#!/usr/bin/env bash
# Times the README's two commands on fresh clones, as a newcomer or CI meets
# them (packages already installed, no compiler cache):
#   test  `scripts/test`, split into its steps: normal build, normal tests,
#         sanitizer build, sanitizer tests
#   run   `scripts/run --demo` until the main window is painted (Qt's
#         offscreen platform; the program exits after its first paint)
# Each step gets its wall time, its CPU time (user+sys of every process it
# ran, which load on a shared machine disturbs far less) and the load average
# when it ended. Compare runs taken in the same conditions, ideally alternately.
#   bench/time_to_green.sh [COMMIT] [test|run|both]   default: HEAD both
# The clones stay in $TTG_DIR (default: a new folder under /tmp) with the
# timestamped output; per-file compile times: bench/ninja_times.sh BUILD_DIR.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
COMMIT="$(git -C "$ROOT" rev-parse "${1:-HEAD}")"
WHAT="${2:-both}"
case "$WHAT" in test|run|both) ;; *) echo "usage: $0 [COMMIT] [test|run|both]" >&2; exit 2 ;; esac
[ -x /usr/bin/time ] || { echo "time_to_green: /usr/bin/time is missing (Debian package: time)" >&2; exit 1; }
DIR="${TTG_DIR:-$(mktemp -d /tmp/ttg.XXXXXX)}"
mkdir -p "$DIR"

# No compiler cache, whatever the caller's environment sets.
unset CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER
export CCACHE_DISABLE=1

TICK="$(getconf CLK_TCK)"
now() { date +%s.%N; }
load() { cut -d' ' -f1-3 /proc/loadavg; }
# CPU seconds (user+sys) of the finished children that process $1 waited for.
waited_cpu() { awk -v t="$TICK" '{ sub(/^.*\) /, ""); print ($14 + $15) / t }' "/proc/$1/stat"; }
mmss() { awk -v s="$1" 'BEGIN { printf "%d:%04.1f", s / 60, s - int(s / 60) * 60 }'; }
minus() { awk -v a="$1" -v b="$2" 'BEGIN { print a - b }'; }
row() { printf '  %-18s %8s %8s   %s\n' "$1" "$2" "$3" "$4"; }

fresh_clone() {
  local dest="$DIR/$1"
  rm -rf "$dest"
  git clone -q --no-local "$(git -C "$ROOT" rev-parse --git-common-dir)" "$dest"
  git -C "$dest" checkout -q "$COMMIT"
  echo "$dest"
}

# timed <name> <step names...> -- <command...>: runs the command in a fresh
# clone and prints a row per step; a step ends when the output shows a line
# that mark_of (below) recognises, the last one when the command exits.
timed() {
  local name="$1"; shift
  local steps=()
  while [ "$1" != "--" ]; do steps+=("$1"); shift; done
  shift
  local src; src="$(fresh_clone "$name")"
  local log="$DIR/$name.log" fifo="$DIR/$name.fifo" times="$DIR/$name.time"
  rm -f "$fifo" "$log"; mkfifo "$fifo"
  echo "$name: $* on a fresh clone of ${COMMIT:0:10} ($src); load at start $(load)"
  local t0; t0="$(now)"
  (cd "$src" && exec /usr/bin/time -f '%e %U %S' -o "$times" "$@") >"$fifo" 2>&1 &
  local pid=$! shell="" marks=()
  while IFS= read -r line; do
    printf '%s %s\n' "$(now)" "$line" >>"$log"
    [ -n "$shell" ] || shell="$(cat "/proc/$pid/task/$pid/children" 2>/dev/null | cut -d' ' -f1)"
    if [ "${#marks[@]}" -lt $((${#steps[@]} - 1)) ] && mark_of "$name" "${#marks[@]}" "$line"; then
      marks+=("$(now) $(waited_cpu "$shell") $(load)")
    fi
  done <"$fifo"
  local status=0; wait "$pid" || status=$?
  local t1; t1="$(now)"
  read -r _ user sys < <(tail -n 1 "$times") || true
  marks+=("$t1 $(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }') $(load)")
  row step wall CPU "load average at its end"
  local prev_t="$t0" prev_c=0 k=0 t c l
  for m in "${marks[@]}"; do
    read -r t c l <<<"$m"
    row "${steps[$k]:-rest}" "$(mmss "$(minus "$t" "$prev_t")")" "$(mmss "$(minus "$c" "$prev_c")")" "$l"
    prev_t="$t" prev_c="$c"; k=$((k + 1))
  done
  row total "$(mmss "$(minus "$t1" "$t0")")" "$(mmss "$prev_c")" "exit status $status"
  return 0
}

# mark_of <name> <index> <line>: is <line> the end of step <index>?
mark_of() {
  case "$1:$2:$3" in
    # ctest prints "Test project" once its build step has finished and been
    # waited for; the sanitizer banner follows the normal tests.
    test:0:"Test project "*) return 0 ;;
    test:1:"Sanitizer pass"*) return 0 ;;
    test:2:"Test project "*) return 0 ;;
    run:0:"Gateway simulator running"*) return 0 ;;
  esac
  return 1
}

echo "machine: $(nproc) cores, $(uname -r); clones in $DIR"
if [ "$WHAT" != run ]; then
  timed test "normal build" "normal tests" "sanitizer build" "sanitizer tests" -- bash scripts/test
  grep -h "tests passed" "$DIR/test.log" | sed 's/^[0-9.]* /  ctest: /'
fi
if [ "$WHAT" != test ]; then
  export QT_QPA_PLATFORM=offscreen MORVEL_EXIT_AFTER_SHOW=1
  timed run "build" "start to window" -- bash scripts/run --demo
  grep -hx "[0-9.]* shown" "$DIR/run.log" | sed 's/^[0-9.]* /  program: /' || true
fi
