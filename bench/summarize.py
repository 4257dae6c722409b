#!/usr/bin/env python3
"""Turns the raw lines bench/run.sh writes (bench/out/raw-*.tsv) into Markdown tables."""

import statistics
import sys
from collections import defaultdict


def main(paths):
    header = []
    timed = defaultdict(list)  # (n, contender) -> [(repeat, seconds, copied, cpu seconds)]
    memory = []
    peaks = defaultdict(list)  # n -> timed engine runs' (peak working set, seconds, ...)
    lines = []
    for path in paths:
        with open(path, encoding="utf-8") as f:
            lines += f.readlines()
    for line in lines:
        if line.startswith("#"):
            header.append(line[1:].strip())
            continue
        cols = line.rstrip("\n").split("\t")
        if cols[0] == "n":
            continue
        cols += ["-"] * (8 - len(cols))
        n, repeat, contender, seconds, copied, failed, peak, cpu = cols
        if repeat == "memory":
            memory.append((int(n), contender, seconds, copied, failed, peak))
        else:
            cpu = float(cpu) if cpu not in ("-", "") else None
            timed[(int(n), contender)].append((int(repeat), float(seconds), int(copied), cpu))
            if contender == "engine":
                peaks[int(n)].append((int(peak), seconds, copied, failed))

    for h in header:
        print(f"- {h}")
    print()
    print("| N | contender | runs | median wall s | min–max wall s | copied files/s (median wall) "
          "| median CPU s |")
    print("|---:|---|---:|---:|---:|---:|---:|")
    sizes = sorted({n for n, _ in timed})
    medians = {}
    cpu_medians = {}
    for n in sizes:
        for contender in ("engine", "floor", "batch", "cp"):
            runs = timed.get((n, contender))
            if not runs:
                continue
            secs = [run[1] for run in runs]
            med = statistics.median(secs)
            medians[(n, contender)] = med
            cpus = [run[3] for run in runs if run[3] is not None]
            cpu_text = "–"
            if cpus:
                cpu_medians[(n, contender)] = statistics.median(cpus)
                cpu_text = f"{cpu_medians[(n, contender)]:.2f}"
            label = "cp -n (native Linux)" if contender == "cp" else contender
            print(f"| {n:,} | {label} | {len(secs)} | {med:.3f} | {min(secs):.3f}–{max(secs):.3f} "
                  f"| {runs[0][2] / med:,.0f} | {cpu_text} |")
    print()
    print("| N | engine/floor, wall (medians) | engine/floor, wall, per repeat "
          "| engine/floor, CPU (medians) | engine/batch, wall (medians) |")
    print("|---:|---:|---:|---:|---:|")
    for n in sizes:
        if (n, "engine") not in medians:
            continue
        cells = [f"{n:,}"]
        if (n, "floor") in medians:
            floor = {run[0]: run[1] for run in timed[(n, "floor")]}
            per = sorted(run[1] / floor[run[0]] for run in timed[(n, "engine")] if run[0] in floor)
            cells.append(f"{medians[(n, 'engine')] / medians[(n, 'floor')]:.3f}")
            cells.append(f"{per[0]:.3f}–{per[-1]:.3f}")
            if (n, "engine") in cpu_medians and (n, "floor") in cpu_medians:
                cells.append(f"{cpu_medians[(n, 'engine')] / cpu_medians[(n, 'floor')]:.3f}")
            else:
                cells.append("–")
        else:
            cells += ["–", "–", "–"]
        if (n, "batch") in medians:
            cells.append(f"{medians[(n, 'engine')] / medians[(n, 'batch')]:.3f}")
        else:
            cells.append("–")
        print("| " + " | ".join(cells) + " |")
    if memory or peaks:
        print()
        print("| N | run | seconds | copied / entries | failed | peak working set |")
        print("|---:|---|---:|---:|---:|---:|")
        for n in sorted(peaks):
            peak, seconds, copied, failed = max(peaks[n])
            memory.insert(0, (n, "engine, fresh output (largest of the timed runs)", seconds,
                              copied, failed, str(peak)))
        memory.sort(key=lambda row: row[0])
        for n, what, seconds, copied, failed, peak in memory:
            peak_text = f"{int(peak) / 2**20:.2f} MiB ({int(peak):,} B)" if peak != "-" else "–"
            print(f"| {n:,} | {what} | {seconds} | {copied} | {failed} | {peak_text} |")


if __name__ == "__main__":
    main(sys.argv[1:])
