#!/usr/bin/env python3
"""Prints the benchmark table from the JSON of bench_receive, bench_readout and
bench_save and the texts of startup.sh and command_line.sh:
  report.py RECEIVE.json READOUT.json SAVE.json STARTUP.txt [COMMAND_LINE.txt]"""
import json
import re
import sys


def runs(path):
    with open(path) as f:
        return {b["name"]: b for b in json.load(f)["benchmarks"]}


def row(what, figure, goal="", verdict=""):
    print(f"| {what} | {figure} | {goal} | {verdict} |")


def check(value, limit):
    return "met" if value <= limit else "MISSED"


receive, readout, save = runs(sys.argv[1]), runs(sys.argv[2]), runs(sys.argv[3])
with open(sys.argv[4]) as f:
    startup = f.read()

print("| Benchmark | Figure | Goal | Result |")
print("|---|---|---|---|")

r = receive.get("BM_ReceiveVsMemchr")
if r:
    row("Receive path + interpreter, recorded read-out",
        f"{r['receive_Bps'] / 1e6:.1f} MB/s; memchr line split {r['memchr_Bps'] / 1e6:.0f} MB/s; "
        f"memchr is {r['memchr_over_receive']:.0f}x faster")

r = readout.get("BM_ReadOutTcp/iterations:20/real_time")
if r:
    row("Read-out over loopback TCP (login to DNS reply)",
        f"median of 20: tool {r['tool_ms']:.2f} ms, raw client {r['raw_ms']:.2f} ms, "
        f"ratio {r['tool_over_raw']:.2f} (of the means {r['mean_tool_over_raw']:.2f})",
        "ratio <= 1.5", check(r["tool_over_raw"], 1.5))

r = readout.get("BM_ReadOutPty9600/iterations:3/real_time")
if r:
    row("Read-out over a pty paced at 9600 baud",
        f"{r['elapsed_ms']:.0f} ms for {r['wire_ms']:.0f} ms of wire time, ratio {r['elapsed_over_wire']:.3f}",
        "ratio <= 1.02", check(r["elapsed_over_wire"], 1.02))

r = save.get("BM_SavePty9600/iterations:3/real_time")
if r:
    row("Save over a pty at 9600 baud both ways: first byte to closing marker",
        f"{r['save_ms']:.0f} ms for {r['wire_ms']:.0f} ms of wire time, ratio {r['save_over_wire']:.3f}; "
        f"confirmation {r['confirmed_ms']:.0f} ms after the click; {r['reads_per_save']:.1f} reads a save",
        "ratio <= 1.02", check(r["save_over_wire"], 1.02))
    row("Event loop's longest stall, 9600-baud visit with a Save",
        f"{r['longest_stall_ms']:.1f} ms", "<= 100 ms", check(r["longest_stall_ms"], 100))

names = {0: "connected, idle", 1: "status page, polling", 2: "inside Delay"}
for name, b in readout.items():
    m = re.match(r"BM_IdleCpu/case:(\d)/span_ms:(\d+)", name)
    if m:
        row(f"CPU while waiting: {names[int(m.group(1))]}",
            f"{b['cpu_percent']:.3f} % of one core over {b['span_s']:.0f} s",
            "< 1 %", check(b["cpu_percent"], 0.999))

for label in ("main() to first painted main window", "peak memory"):
    m = re.search(re.escape(label) + r"[^:]*:\s*(.*)", startup)
    if m:
        row(f"Start-up (offscreen): {label}", m.group(1).strip())

if len(sys.argv) > 5:
    with open(sys.argv[5]) as f:
        cli = f.read()
    m = re.search(r"process start to exit: median (\d+) ms, worst (\d+) ms of (\d+)", cli)
    if m:
        row("Command line: `read` over loopback TCP, process start to exit",
            f"median {m.group(1)} ms, worst {m.group(2)} ms of {m.group(3)}", "<= 150 ms",
            check(int(m.group(1)), 150))
    for m in re.finditer(r"fleet \((\w+) gateways\) .*?median of 3 (\d+) ms; 4 reads alone (\d+) ms; ratio ([\d.]+)", cli):
        row(f"Command line: 32 {m.group(1)} gateways read by 8 processes (xargs -P 8) over 4 reads alone",
            f"{m.group(2)} ms for {m.group(3)} ms, ratio {m.group(4)}", "ratio <= 1.3", check(float(m.group(4)), 1.3))
