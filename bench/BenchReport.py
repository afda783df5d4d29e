#!/usr/bin/env python3
"""Writes the report of one run of scripts/bench (bench/RESULTS.md) to standard output: what was run where,
then each group that ran, every figure beside its peer measured in the same run, with their ratio and the
aim where there is one. Nothing is carried over from an earlier run.
  BenchReport.py <about.tsv> <rows.tsv> [<native.json>]
about.tsv: one line per fact of the run: name, value (machine, date, commit, tree, sizes...), shown in order.
rows.tsv: one line per figure: group, label, ours, peer label, peer, bytes moved (0 when no rate applies),
the aim for the ratio (may be empty), the unit (s: seconds, the default; pct: % of one core; count; instr:
instructions). native.json: Google Benchmark's JSON output of native_bench (group native), whose runs pair
with their peers as PAIRS lists them (the median of repeated runs, when repeated); absent when the group
did not run. A group not listed in GROUPS is shown under its own name, after the known ones."""
import json
import sys

# Known groups in the order shown: name, heading, how its figures are taken.
GROUPS = [
    ("copy", "Installing one large file (Windows side, under Wine)",
     "Timed inside `update_bench.exe`, which reads `QueryPerformanceCounter`, so Wine's start-up is not in "
     "the figure; the peers are native commands on the same files in the same folder, timed by hyperfine. "
     "Every install flushes its file before it replaces the target and `cp` does not, so the `+ sync` peer "
     "is the like-for-like one."),
    ("update", "An update of many small files, and of one large file (whole processes, under Wine)",
     "`Update.exe -UR` timed whole by hyperfine over `tools/wine-run`, its window and end included, against "
     "`cp -r` of the staged files (and `cp -r` + `sync` of each copy), against the system's own `CopyFileA` "
     "of each file under the same Wine with no flush (`update_bench systemcopy`, whole process), and against "
     "the same files installed one after the other, without copies ahead (timed beside a run of ours in one "
     "hyperfine call, which gives the second figure of ours); on the plain disk and on the slow-flush folder, "
     "whose every device flush takes as long as a spinning disk's (`bench/slowflush`)."),
    ("prozip", "Extracting an archive member (Windows side, under Wine)",
     "`ProZip` of one deflated member, timed inside `update_bench.exe`, against `unzip -p` into a file."),
    ("log", "A log record (Windows side, under Wine)",
     "One record added to `UpLog.dat`, the log's load included (the start's log kept for the run, the record, "
     "the whole log written again), per record, against `cp` of the log, and `cp` + `sync` of a new copy "
     "renamed over the old one, as any crash-safe rewrite does."),
    ("startup", "Start-up (whole processes, under Wine)",
     "`Update.exe` without a switch (it ends the client's processes, shows its window once and ends) against "
     "`MinimalWindow.exe`, a window program that only shows its window once; both timed whole by hyperfine "
     "over `tools/wine-run`, after warm-up runs. The libraries are those the main thread loads "
     "(`WINEDEBUG=+loaddll`), the program itself included."),
    ("playback", "Playing the strip (under Wine)",
     "CPU time (user + system, all threads, from `/proc/<pid>/stat`) over the playback time, in % of one "
     "core: `Update.exe -UR` with its manifest missing, the notice answered and the window open with the strip "
     "playing, against the fake client `QeltoExam.exe` idling in its message loop. The wineserver of the "
     "prefix also serves Wine's own background processes, so its share is an upper bound."),
    ("native", "Picture decoding and the strip's steps (native)",
     "`native_bench` (Google Benchmark, Release, no sanitizers): CPU time, medians of interleaved "
     "repetitions. The GIF pictures: the strip (`resources/Strip.gif`, 454 x 23, 84 frames), a photo-like "
     "picture of 256 colours and a screen recording on 640 x 480 (both generated, at the sizes above), the "
     "real photos `harvesters.gif` (1165 x 859) and `hibiscus.regular.gif` (312 x 442) and the real "
     "animation `gifplayer-muybridge.gif` (472 x 298, 380 frames); their rates count one byte per pixel. "
     "The JPEG is the banner `resources/Banner.jpg` (348 x 130). Instructions are those of one decode, counted by "
     "callgrind inside the two decode functions, a figure that other load on the machine does not move. "
     "`native_bench` fixes glibc's trim and mmap thresholds (`bench/KeepFreedMemory.cpp`), so freed frames "
     "stay with the allocator for both decoders. Figures without a peer are the main thread's share of "
     "playing the strip: one frame's `DrawFrame` onto the frame cache plus the cache's copy onto the painted "
     "surface, and the hand-over round trip through `MainThreadQueue` (wall time beside it)."),
]

UNITS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def duration(seconds):
    for unit, scale in (("s", 1.0), ("ms", 1e-3), ("us", 1e-6)):
        if seconds >= scale:
            return f"{significant(seconds / scale)} {unit}"
    return f"{seconds / 1e-9:.0f} ns"


def figure(value, unit, size=0):
    """A value in its unit, with the rate when bytes were moved."""
    if unit == "pct":
        return f"{value:.2f} %"
    if unit == "count":
        return f"{value:.0f}"
    if unit == "instr":
        return f"{value / 1e6:.3g} M instructions"
    text = duration(value)
    return f"{text}, {significant(size / value / 1e6)} MB/s" if size and value else text


def significant(value):
    return f"{value:.0f}" if value >= 100 else f"{value:.3g}"


def rows_file(path):
    with open(path, encoding="utf-8") as rows:
        for line in rows:
            fields = line.rstrip("\n").split("\t")
            group, label, ours, peer_label, peer, size, aim, unit = fields + [""] * (8 - len(fields))
            yield (group, label, float(ours), peer_label, float(peer) if peer else None, int(size or 0), aim,
                   unit or "s")


# Our benchmark families and their peers: family, label, peer family, peer label.
PAIRS = [
    ("GIFDecodeTGIFImage", "GIF {}: `TGIFImage`", "GIFDecodeGiflib", "giflib `DGifSlurp`"),
    ("JPEGDecodeTJPEGImage", "JPEG banner: `TJPEGImage` to its 32-bit surface", "JPEGDecodeLibjpeg",
     "libjpeg straight to RGB"),
]
# Figures without a peer: family, label.
ALONE = [
    ("StripFrameStep", "strip, one frame's step on the main thread"),
    ("HandOverRoundTrip", "hand-over round trip of one step to the main thread"),
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
    def seconds(run, kind="cpu_time"):
        return run[kind] * UNITS[run["time_unit"]]

    for family, label, peer_family, peer_label in PAIRS:
        for name, run in runs.items():
            found, _, sample = name.partition("/")
            peer = runs.get(peer_family + name[len(found):])
            if found != family or peer is None:
                continue
            size = int(run.get("bytes_per_second", 0) * seconds(run))
            yield "native", label.format(sample), seconds(run), peer_label, seconds(peer), size, "", "s"
    for family, label in ALONE:
        for name, run in runs.items():
            if name.partition("/")[0] != family:
                continue
            yield ("native", f"{label} (wall: {duration(seconds(run, 'real_time'))})", seconds(run), "", None, 0,
                   "", "s")


def table(rows):
    lines = ["| figure | ours | peer | peer's figure | ratio | aim |", "|---|---|---|---|---|---|"]
    previous = None
    for _, label, ours, peer_label, peer, size, aim, unit in rows:
        ratio = f"{ours / peer:.2f}" if peer else ""
        label, previous = ("the same" if label == previous else label), label
        lines.append(f"| {label} | {figure(ours, unit, size)} | {peer_label} | "
                     f"{figure(peer, unit, size) if peer is not None else ''} | {ratio} | {aim} |")
    return lines


def report(about, rows):
    known = [name for name, _, _ in GROUPS]
    ran = list(dict.fromkeys(row[0] for row in rows))
    order = [name for name in known if name in ran] + [name for name in ran if name not in known]
    lines = ["# Benchmark results", "",
             "Written whole by `scripts/bench` at the end of one run; every figure below comes from that run, "
             "each beside its peer measured in the same run. Ratio = ours / peer: below 1, ours takes less. "
             "The machine's cores are shared, so single figures are noisy; the ratios side by side are what "
             "counts.", ""]
    lines += [f"- {name}: {value}" for name, value in about]
    for name in order:
        heading, how = next(((h, w) for n, h, w in GROUPS if n == name), (name, ""))
        lines += ["", f"## {heading}", ""]
        if how:
            lines += [how, ""]
        lines += table([row for row in rows if row[0] == name])
    return "\n".join(lines) + "\n"


def main(about_path, rows_path, native_path=None):
    with open(about_path, encoding="utf-8") as about_file:
        about = [tuple(line.rstrip("\n").split("\t", 1)) for line in about_file if line.strip()]
    rows = list(native_rows(native_path)) if native_path else []
    rows += rows_file(rows_path)
    sys.stdout.write(report(about, rows))


if __name__ == "__main__":
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    main(*sys.argv[1:])
