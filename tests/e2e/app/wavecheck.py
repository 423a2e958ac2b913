#!/usr/bin/env python3
"""Checks waveform CSV files written by Quorvel against the simulated recorder's own log.

  wavecheck.py manual  LOG FOLDER KANZAN MAXNUM FIRST_SEQ COUNT
      the recording in FOLDER (one first file and its parts) holds exactly the samples
      FIRST_SEQ .. FIRST_SEQ+COUNT-1 of the log, in order, MAXNUM lines per part
  wavecheck.py trigger LOG FOLDER KANZAN MAXNUM LEVELS BEFORE AFTER
      FOLDER holds one trigger recording that starts BEFORE samples before the first sample
      above a level (ending with it) and ends AFTER+1 samples after the last one above a level
  wavecheck.py prefix  LOG FILE KANZAN MIN
      FILE holds at least MIN samples, consecutive in the log, and ends with a whole line

KANZAN and LEVELS are three comma-separated numbers. Exit code 0 when the check holds; the
reason is printed either way.
"""
import csv
import io
import os
import re
import sys


def log_samples(path):
    samples = {}
    with open(path, encoding="ascii", errors="replace") as f:
        for line in f:
            parts = line.split()
            if len(parts) == 6 and parts[1] == "S":
                samples[int(parts[2])] = tuple(int(v) for v in parts[3:6])
    return samples


def line_of(counts, kanzan):
    return "%f,%f,%f" % tuple(c * k for c, k in zip(counts, kanzan))


def read_file(path, trigger):
    """The sample lines of one file, after checking its bytes and its header."""
    data = open(path, "rb").read()
    if data.count(b"\n") != data.count(b"\r\n") or not data.endswith(b"\r\n"):
        raise ValueError("%s: not CR LF lines throughout" % path)
    rows = list(csv.reader(io.StringIO(data.decode("cp932"), newline="")))
    header = rows[:6]
    expected = [["COMMENT_1:TRIG DATA" if trigger else "COMMENT_1:"], None, ["CLOCK:10.000000 ( msec )"],
                ["DATA:"], ["Ｘ", "Ｙ", "Ｚ"], ["gal", "gal", "gal"]]
    for i, want in enumerate(expected):
        if want is not None and header[i] != want:
            raise ValueError("%s: header line %d is %r" % (path, i + 1, header[i]))
    if not re.fullmatch(r"DATE_MAKE:\d{4}\.\d\d\.\d\d_\d\d:\d\d:\d\d", ",".join(header[1])):
        raise ValueError("%s: header line 2 is %r" % (path, header[1]))
    return [",".join(r) for r in rows[6:]]


def recording(folder, trigger, maxnum):
    """The sample lines of the one recording in folder, parts in order."""
    names = sorted(os.listdir(folder))
    bases = [n[:-4] for n in names if re.fullmatch(r"\d{8}_\d{6}\.csv", n)]
    if len(bases) != 1:
        raise ValueError("%s: expected one recording, found %s" % (folder, names))
    parts = [bases[0] + ".csv"]
    while bases[0] + "-%d.csv" % len(parts) in names:
        parts.append(bases[0] + "-%d.csv" % len(parts))
    if len(parts) != len(names):
        raise ValueError("%s: stray files among %s" % (folder, names))
    lines = []
    for i, part in enumerate(parts):
        got = read_file(os.path.join(folder, part), trigger)
        if len(got) > maxnum or (i + 1 < len(parts) and len(got) != maxnum) or not got:
            raise ValueError("%s: %d lines in a part of at most %d" % (part, len(got), maxnum))
        lines += got
    return lines, parts


def compare(lines, samples, first, count, kanzan):
    if len(lines) != count:
        raise ValueError("%d lines, expected %d (samples %d..%d)" % (len(lines), count, first, first + count - 1))
    for i, line in enumerate(lines):
        want = line_of(samples[first + i], kanzan)
        if line != want:
            raise ValueError("line %d is %s, sample %d is %s" % (i + 1, line, first + i, want))


def numbers(text):
    return [float(v) for v in text.split(",")]


def main(argv):
    mode, log = argv[1], log_samples(argv[2])
    kanzan = numbers(argv[4])
    if mode == "manual":
        maxnum, first, count = int(argv[5]), int(argv[6]), int(argv[7])
        lines, parts = recording(argv[3], False, maxnum)
        compare(lines, log, first, count, kanzan)
        return "%d samples (%d..%d) in %d parts, each line equal to the log" % (count, first, first + count - 1, len(parts))
    if mode == "trigger":
        maxnum, levels, before, after = int(argv[5]), numbers(argv[6]), int(argv[7]), int(argv[8])
        lines, parts = recording(argv[3], True, maxnum)
        above = [s for s in sorted(log) if any(abs(c * k) > l for c, k, l in zip(log[s], kanzan, levels))]
        first = last = above[0]
        bursts = 1
        for s in above[1:]:
            if s - last > after + 1:
                break  # a later exceedance after the recording's end starts a new one
            if s - last > 10:
                bursts += 1
            last = s
        compare(lines, log, first - before + 1, last + after + 1 - (first - before), kanzan)
        return "samples %d..%d: first above %d, last above %d, %d bursts, %d parts" % (
            first - before + 1, last + after + 1, first, last, bursts, len(parts))
    if mode == "prefix":
        lines = read_file(argv[3], False)
        minimum = int(argv[5])
        by_line = {}
        for s in sorted(log):
            by_line.setdefault(line_of(log[s], kanzan), s)
        if len(lines) < minimum or lines[0] not in by_line:
            raise ValueError("%d lines, first %r" % (len(lines), lines[:1]))
        compare(lines, log, by_line[lines[0]], len(lines), kanzan)
        return "%d consecutive samples from %d" % (len(lines), by_line[lines[0]])
    raise ValueError("unknown mode " + mode)


if __name__ == "__main__":
    try:
        print(main(sys.argv))
    except (ValueError, KeyError, IndexError, OSError) as e:
        print("wavecheck: %s" % e)
        sys.exit(1)
