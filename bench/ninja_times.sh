#!/usr/bin/env bash
# Per-file build times from a build folder's .ninja_log (wall time of each
# compile and link as ninja ran them, in parallel): the slowest outputs, then
# sums by kind (program code, tests, links).
#   bench/ninja_times.sh BUILD_DIR [HOW_MANY]     default: 15 slowest
set -euo pipefail
LOG="${1:?usage: bench/ninja_times.sh BUILD_DIR [HOW_MANY]}/.ninja_log"
[ -f "$LOG" ] || { echo "ninja_times: no $LOG" >&2; exit 1; }
# Keep the last entry of each output (a rebuild appends), and one output of a
# step that makes several (a link with its test list): the shortest name.
entries="$(awk 'NR > 1 { last[$4] = $1 " " $2 }
  END {
    for (o in last) if (!(last[o] in step) || length(o) < length(step[last[o]])) step[last[o]] = o
    for (t in step) { split(t, se, " "); printf "%8.1f  %s\n", (se[2] - se[1]) / 1000, step[t] }
  }' "$LOG" | sort -rn)"
echo "slowest outputs (seconds):"
head -n "${2:-15}" <<<"$entries"
echo "sums (seconds of compiler or linker time, the jobs ran side by side):"
awk '{
  kind = "other"
  if ($2 ~ /\.o$/ && $2 ~ /^tests\//) kind = "test compiles"
  else if ($2 ~ /\.o$/ && $2 ~ /cmake_pch/) kind = "precompiled headers"
  else if ($2 ~ /\.o$/) kind = "program compiles"
  else if ($2 ~ /\.gch$/) kind = "precompiled headers"
  else if ($2 ~ /\.a$/) kind = "static libraries"
  else if ($2 !~ /\./ || $2 ~ /_tests$/) kind = "links"
  sum[kind] += $1; n[kind]++; all += $1
} END {
  for (k in sum) printf "  %-20s %8.1f  (%d outputs)\n", k, sum[k], n[k]
  printf "  %-20s %8.1f\n", "all", all
}' <<<"$entries"
