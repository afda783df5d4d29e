#!/usr/bin/env python3
"""Prints the tables of scripts/bench: each measurement, its baseline measured in the same run, and the
ratio of our time to the baseline's (below 1: ours is faster); then the GIF decoders' instruction counts.
  BenchReport.py <rows.tsv> <native.json> <instructions.tsv>
rows.tsv: one line per Windows-side measurement: label, our seconds, baseline label, baseline seconds,
bytes moved (0 when no rate applies), the aim for the ratio (may be empty). native.json: Google Benchmark's
JSON output of native_bench, whose runs pair with their baselines as PAIRS lists them (the median of
repeated runs, when repeated). instructions.tsv: one line per GIF picture: picture, instructions of one
decode by ours, by giflib."""
import json
import sys

UNITS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def duration(seconds):
    for unit, scale in (("s", 1.0), ("ms", 1e-3), ("us", 1e-6)):
        if seconds >= scale:
            return f"{seconds / scale:.2f} {unit}"
    return f"{seconds / 1e-9:.0f} ns"


def rate(size, seconds):
    return f"{size / seconds / 1e6:.1f} MB/s" if size and seconds else ""


def windows_rows(path):
    with open(path, encoding="utf-8") as rows:
        for line in rows:
            label, ours, base_label, base, size, aim = line.rstrip("\n").split("\t")
            yield label, float(ours), base_label, float(base) if base else None, int(size), aim


# Our benchmark families and their baselines: family, label, baseline family, baseline label.
PAIRS = [
    ("GIFDecodeTGIFImage", "GIF {}: TGIFImage", "GIFDecodeGiflib", "giflib DGifSlurp"),
    ("JPEGDecodeTJPEGImage", "JPEG banner: TJPEGImage", "JPEGDecodeLibjpeg", "libjpeg to RGB"),
]


def measured_runs(benchmarks):
    """Each benchmark's run by name, in the order of registration: the median of its repetitions when
    repeated, else its only run."""
    benchmarks = sorted(benchmarks, key=lambda run: run["family_index"])
    runs = {run["name"]: run for run in benchmarks if run.get("run_type") == "iteration"}
    for run in benchmarks:
        if run.get("aggregate_name") == "median":
            runs[run["run_name"]] = run
    return runs


def native_rows(path):
    with open(path, encoding="utf-8") as report:
        runs = measured_runs(json.load(report)["benchmarks"])

    # CPU time: each benchmark runs on one thread, and the machine's other load does not count.
    def seconds(run):
        return run["cpu_time"] * UNITS[run["time_unit"]]

    for family, label, base_family, base_label in PAIRS:
        for name, run in runs.items():
            found, _, sample = name.partition("/")
            base = runs.get(base_family + name[len(found):])
            if found != family or base is None:
                continue
            size = int(run.get("bytes_per_second", 0) * seconds(run))
            yield label.format(sample), seconds(run), base_label, seconds(base), size, ""


def print_table(table):
    widths = [max(len(row[i]) for row in table) for i in range(len(table[0]))]
    for row in table:
        print("  ".join(cell.ljust(width) for cell, width in zip(row, widths)).rstrip())


def instruction_rows(path):
    with open(path, encoding="utf-8") as rows:
        for line in rows:
            picture, ours, base = line.split("\t")
            yield f"GIF {picture}", f"{int(ours):,}", f"{int(base):,}", f"{int(ours) / int(base):.2f}"


def main(rows_path, native_path, instructions_path):
    table = [("benchmark", "ours", "ours rate", "baseline", "baseline time", "baseline rate", "ratio", "aim")]
    for label, ours, base_label, base, size, aim in [*windows_rows(rows_path), *native_rows(native_path)]:
        table.append((label, duration(ours), rate(size, ours), base_label,
                      duration(base) if base else "", rate(size, base) if base else "",
                      f"{ours / base:.2f}" if base else "", aim))
    print_table(table)
    print("ratio: our time / baseline time (below 1: ours is faster); GIF rates count one byte per pixel")
    instructions = list(instruction_rows(instructions_path))
    if instructions:
        print()
        print_table([("instructions of one decode (callgrind)", "TGIFImage", "giflib DGifSlurp", "ratio"),
                     *instructions])


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
