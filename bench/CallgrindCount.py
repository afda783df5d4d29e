#!/usr/bin/env python3
"""Prints one line of the GIF decoders' instruction counts for scripts/bench: the picture, then the
instructions of one decode by ours (TGIFImage) and by giflib (DGifSlurp), tab-separated.
  CallgrindCount.py <picture> <callgrind.out> <native.json>
callgrind.out: a callgrind run of native_bench over the picture's two GIF benchmarks, collecting only
inside the two decode functions (--toggle-collect); native.json: that run's Google Benchmark output,
whose iteration counts divide the totals."""
import json
import re
import subprocess
import sys

FUNCTIONS = {"GIFDecodeTGIFImage": "DecodeWithTGIFImage", "GIFDecodeGiflib": "DecodeWithGiflib"}


def inclusive_counts(path):
    """Instructions spent inside each function (and what it called), by function name."""
    report = subprocess.run(["callgrind_annotate", "--inclusive=yes", path], check=True, capture_output=True,
                            text=True).stdout
    counts = {}
    for line in report.splitlines():
        match = re.match(r"\s*([\d,]+) .*::(\w+)\(", line)
        if match and match.group(2) in FUNCTIONS.values():
            counts[match.group(2)] = int(match.group(1).replace(",", ""))
    return counts


def main(picture, callgrind_path, json_path):
    with open(json_path, encoding="utf-8") as report:
        iterations = {run["name"].partition("/")[0]: run["iterations"] for run in json.load(report)["benchmarks"]}
    counts = inclusive_counts(callgrind_path)
    per_decode = [counts[FUNCTIONS[family]] / iterations[family] for family in FUNCTIONS]
    print("\t".join([picture, *(f"{count:.0f}" for count in per_decode)]))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
