#!/usr/bin/env bash
# Start-up of the desktop program on Qt's offscreen platform: the time to the
# first painted main window (from main() and from the exec, as the timed
# build of the program, bench/startup_probe, prints them), the wall-clock time
# of the whole process, and its peak memory.
#   bench/startup.sh [BUILD] [RUNS]      default: build, 10 runs
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build}" && pwd)"
RUNS="${2:-10}"
APP="$BUILD/bench/startup_probe"
[ -x "$APP" ] || { echo "startup: $APP is not built (configure with -DMORVEL_BENCH=ON)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "startup: /usr/bin/time is missing (Debian package: time)" >&2; exit 1; }

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"  # the program writes language.cfg here
export QT_QPA_PLATFORM=offscreen

inner=() exec=() wall=() rss=()
for i in $(seq "$RUNS"); do
  start=$(date +%s%N)
  /usr/bin/time -v -o "$WORK/time.txt" "$APP" >"$WORK/out.txt" 2>/dev/null
  end=$(date +%s%N)
  inner+=("$(sed -n 's/^startup_ms=\([0-9]*\).*/\1/p' "$WORK/out.txt")")
  exec+=("$(sed -n 's/.*since_exec_ms=\([0-9-]*\).*/\1/p' "$WORK/out.txt")")
  wall+=("$(( (end - start) / 1000000 ))")
  rss+=("$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$WORK/time.txt")")
done

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
max() { printf '%s\n' "$@" | sort -n | tail -1; }
echo "runs: $RUNS (offscreen; the first run includes a cold language.cfg write)"
echo "main() to first painted main window: median $(median "${inner[@]}") ms, worst $(max "${inner[@]}") ms"
echo "exec to first painted main window:   median $(median "${exec[@]}") ms, worst $(max "${exec[@]}") ms (10 ms ticks)"
echo "process start to exit:                median $(median "${wall[@]}") ms, worst $(max "${wall[@]}") ms"
echo "peak memory (max RSS):                median $(( $(median "${rss[@]}") / 1024 )) MB, worst $(( $(max "${rss[@]}") / 1024 )) MB"
