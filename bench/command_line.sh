#!/usr/bin/env bash
# The command line as a fleet tool runs it: `morvel_config read` over
# loopback TCP from process start to exit (median of RUNS), and 32 simulated
# gateways read by 8 processes at once (xargs -P 8), the wall time against
# 4 times one read alone (each process reads 4 in turn): once with gateways
# that answer at once (the processes then share the machine's cores), once
# with gateways that answer at a 9600-baud pace (the reads wait on them).
#   bench/command_line.sh [BUILD] [RUNS]      default: build, 20 runs
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build}" && pwd)"
RUNS="${2:-20}"
APP="$BUILD/app/morvel_config"
GWSIM="$BUILD/tools/gwsim/gwsim"
for f in "$APP" "$GWSIM"; do [ -x "$f" ] || { echo "command_line: $f is not built" >&2; exit 1; }; done

WORK="$(mktemp -d)"
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null; rm -rf "$WORK"; }
trap cleanup EXIT
export XDG_STATE_HOME="$WORK/state" MORVEL_PASSWORD=admin

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
max() { printf '%s\n' "$@" | sort -n | tail -1; }
ms() { echo $(( ($(date +%s%N) - $1) / 1000000 )); }

# fleet NAME RUNS GWSIM-OPTIONS...: 32 gateways, each its own process on a
# free port (preset full: the longest read-out); RUNS single reads, then 3
# fleet reads.
fleet() {
  local name="$1" runs="$2"; shift 2
  local dir="$WORK/$name" one=() all=() start alone together
  mkdir -p "$dir"
  for i in $(seq 32); do
    "$GWSIM" --tcp 0 --preset full "$@" >"$dir/gw$i.out" 2>&1 &
    pids+=("$!")
  done
  for i in $(seq 32); do
    for _ in $(seq 100); do grep -q '^TCP ' "$dir/gw$i.out" && break; sleep 0.05; done
    sed -n 's/^TCP \(127\.0\.0\.1:[0-9]*\).*/tcp:\1/p' "$dir/gw$i.out" >>"$dir/hosts"
  done
  [ "$(wc -l <"$dir/hosts")" -eq 32 ] || { echo "command_line: not every simulator started" >&2; exit 1; }
  local first
  first="$(head -1 "$dir/hosts")"
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    "$APP" read "$first" --login admin >/dev/null
    one+=("$(ms "$start")")
  done
  alone="$(median "${one[@]}")"
  for _ in 1 2 3; do
    start=$(date +%s%N)
    xargs -P 8 -I{} "$APP" read {} --login admin <"$dir/hosts" >/dev/null
    all+=("$(ms "$start")")
  done
  together="$(median "${all[@]}")"
  [ "$name" = prompt ] &&
    echo "read over loopback TCP, process start to exit: median $alone ms, worst $(max "${one[@]}") ms of $runs"
  echo "fleet ($name gateways) of 32 read by 8 processes: median of 3 $together ms; 4 reads alone $((4 * alone)) ms;" \
    "ratio $(awk -v a="$together" -v b="$alone" 'BEGIN {printf "%.2f", a / (4 * b)}')"
}

fleet prompt "$RUNS"
fleet paced 3 --pace9600
