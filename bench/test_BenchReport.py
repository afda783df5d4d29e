#!/usr/bin/env python3
"""Shows that BenchReport.py reports one run as it was: the groups that ran and no others, in a fixed order
with new groups after the known ones, each figure beside its own peer, and the native runs paired by
picture with the median of their repetitions."""
import json
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import BenchReport  # noqa: E402

ABOUT = [("machine", "2 cores"), ("groups run", "only log, slowflush")]


def row(group, label, ours, peer_label="", peer=None, size=0, aim="", unit="s"):
    return group, label, ours, peer_label, peer, size, aim, unit


def table_lines(text, heading):
    """The table rows under a heading, without the header and separator lines."""
    section = text.split(f"## {heading}\n", 1)[1].split("\n## ", 1)[0]
    return [line for line in section.splitlines() if line.startswith("| ")][1:]


class ReportTest(unittest.TestCase):
    def test_groups(self):
        cases = [
            ("only the groups with rows, known ones in their order",
             [row("log", "record", 0.02, "cp", 0.01), row("copy", "copy", 1.0, "cp", 0.5)],
             ["Installing one large file (Windows side, under Wine)", "A log record (Windows side, under Wine)"]),
            ("a new group comes after the known ones, under its own name",
             [row("slowflush", "slow", 2.0, "cp", 1.0), row("startup", "start", 0.2, "peer", 0.1)],
             ["Start-up (whole processes, under Wine)", "slowflush"]),
            ("no rows, no groups", [], []),
        ]
        for name, rows, headings in cases:
            with self.subTest(name):
                text = BenchReport.report(ABOUT, rows)
                self.assertEqual([line[3:] for line in text.splitlines() if line.startswith("## ")], headings)
                self.assertIn("- machine: 2 cores\n- groups run: only log, slowflush\n", text)

    def test_figures(self):
        cases = [
            ("seconds with a rate, the ratio and the aim",
             row("copy", "copy 1 MiB", 0.5, "cp + sync", 0.25, 1 << 20, "2.5"),
             "| copy 1 MiB | 500 ms, 2.1 MB/s | cp + sync | 250 ms, 4.19 MB/s | 2.00 | 2.5 |"),
            ("a figure without a peer has no ratio", row("native", "step", 23e-6),
             "| step | 23 us |  |  |  |  |"),
            ("a peer of nothing gives no ratio", row("playback", "cpu", 1.5, "idle", 0.0, unit="pct"),
             "| cpu | 1.50 % | idle | 0.00 % |  |  |"),
            ("counts and instructions", row("native", "decode", 2.5e6, "giflib", 34.1e6, unit="instr"),
             "| decode | 2.5 M instructions | giflib | 34.1 M instructions | 0.07 |  |"),
        ]
        for name, figure, line in cases:
            with self.subTest(name):
                self.assertEqual(BenchReport.table([figure])[2], line)

    def test_a_repeated_figure_is_the_same(self):
        lines = BenchReport.table([row("copy", "copy", 1.0, "cp", 0.5), row("copy", "copy", 1.0, "cp + sync", 2.0),
                                   row("copy", "other", 1.0, "cp", 1.0)])
        self.assertEqual([line.split(" | ")[0] for line in lines[2:]], ["| copy", "| the same", "| other"])

    def test_native_runs(self):
        def run(name, cpu, family, aggregate=None, real=None):
            entry = {"name": name + (f"_{aggregate}" if aggregate else ""), "run_name": name, "family_index": family,
                     "cpu_time": cpu, "real_time": real or cpu, "time_unit": "us",
                     "run_type": "aggregate" if aggregate else "iteration"}
            if aggregate:
                entry["aggregate_name"] = aggregate
            return entry

        benchmarks = [
            run("GIFDecodeTGIFImage/strip", 900, 0), run("GIFDecodeTGIFImage/strip", 100, 0, "median"),
            run("GIFDecodeTGIFImage/strip", 500, 0, "mean"),
            run("GIFDecodeGiflib/strip", 5000, 1, "median"),
            run("GIFDecodeTGIFImage/photo", 50, 0, "median"),  # its peer did not run
            run("HandOverRoundTrip/real_time", 5, 2, "median", real=10),
        ]
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "native.json")
            with open(path, "w", encoding="utf-8") as out:
                json.dump({"benchmarks": benchmarks}, out)
            text = BenchReport.report(ABOUT, list(BenchReport.native_rows(path)))
        self.assertEqual(table_lines(text, "Picture decoding and the strip's steps (native)"), [
            "| GIF strip: `TGIFImage` | 100 us | giflib `DGifSlurp` | 5 ms | 0.02 |  |",
            "| hand-over round trip of one step to the main thread (wall: 10 us) | 5 us |  |  |  |  |",
        ])


if __name__ == "__main__":
    unittest.main()
