#!/usr/bin/env python3
"""Checks what Quorvel's live miniSEED archive and CSV export wrote, as two independent readers
(libmseed's msdump and seisplotjs's msdump.mjs) printed it, against the CSV recording of the same
run and the simulated recorder's log.

  seedcheck.py archive DUMP_C DUMP_JS ROOT CSV_FOLDER KANZAN LOG TZ
      both readers agree record for record; SDS names, sequence numbers, record length, rate and
      encoding; records never cross UTC midnight and two days are there; every CSV sample is the
      archive's count times KANZAN (the CSV is one run of the archive's samples); exactly one gap,
      as long as the recorder's own log says; the CSV's DATE_MAKE (local time TZ) within 2 s of
      the archive's time of its first sample; the StationXML at ROOT
  seedcheck.py export DUMP_C DUMP_JS CSV TZ
      both readers agree; the exported file holds the CSV's values exactly, 64-bit floats, starting
      at the CSV's DATE_MAKE

Prints what it found; exit code 0 when every check holds.
"""
import datetime
import os
import re
import sys
import xml.etree.ElementTree as ET
from zoneinfo import ZoneInfo

problems = []


def check(ok, what):
    if not ok:
        problems.append(what)
    return ok


def read_dump(path):
    records = []
    with open(path) as f:
        lines = f.read().split("\n")
    for i in range(0, len(lines) - 1, 2):
        r = lines[i].split()
        d = lines[i + 1].split()
        assert r[0] == "R" and d[0] == "D", (path, i)
        records.append({"file": os.path.normpath(r[1]), "seq": int(r[2]), "nslc": r[3], "start": int(r[4]),
                        "rate": float(r[5]), "reclen": int(r[6]), "enc": int(r[7]), "n": int(r[8]),
                        "values": [float(v) for v in d[1:]]})
    return records


def same_readers(a, b):
    check(len(a) == len(b) and len(a) > 0, "readers saw %d and %d records" % (len(a), len(b)))
    for x, y in zip(a, b):
        if not check(x == y, "readers disagree on record %s %d: %s / %s" % (
                x["file"], x["seq"], {k: v for k, v in x.items() if k != "values"},
                {k: v for k, v in y.items() if k != "values"})):
            break


def per_file(records):
    files = {}
    for r in records:
        files.setdefault(r["file"], []).append(r)
    for name, rs in files.items():
        check([r["seq"] for r in rs] == list(range(1, len(rs) + 1)), "%s: sequence numbers %s" % (
            name, [r["seq"] for r in rs][:10]))
        for r in rs:
            check(r["reclen"] == 512 and r["rate"] == 100.0 and r["n"] == len(r["values"]),
                  "%s %d: length %d, rate %g, %d of %d samples" % (name, r["seq"], r["reclen"], r["rate"],
                                                                    len(r["values"]), r["n"]))
    return files


def csv_rows(paths):
    rows, date_make = [], None
    for p in paths:
        lines = open(p, "rb").read().decode("cp932").split("\r\n")
        check(lines[-1] == "", "%s does not end with a line end" % p)
        if date_make is None:
            date_make = datetime.datetime.strptime(lines[1], "DATE_MAKE:%Y.%m.%d_%H:%M:%S")
        rows += [l.split(",") for l in lines[6:-1]]
    return rows, date_make


def utc_us(local, tz):
    aware = local.replace(tzinfo=ZoneInfo(tz))
    return int(aware.timestamp()) * 1000000


def log_samples(path):
    seqs, times, values = [], [], []
    for line in open(path, encoding="ascii", errors="replace"):
        p = line.split()
        if len(p) == 6 and p[1] == "S":
            seqs.append(int(p[2]))
            times.append(float(p[0]))
            values.append(tuple(int(v) for v in p[3:6]))
    return seqs, times, values


def archive(dump_c, dump_js, root, csv_folder, kanzan, log, tz):
    a, b = read_dump(dump_c), read_dump(dump_js)
    same_readers(a, b)
    files = per_file(a)
    k = [float(v) for v in kanzan.split(",")]
    channels = {}
    for name, rs in files.items():
        m = re.search(r"(\d{4})/(\w+)/(\w+)/(\w+)\.D/(\w+)\.(\w+)\.(\w*)\.(\w+)\.D\.(\d{4})\.(\d{3})$", name)
        if not check(m, "not an SDS day file: %s" % name):
            continue
        year, net, sta, cha_folder, net2, sta2, loc, cha, year2, doy = m.groups()
        check(year == year2 and (net, sta, cha_folder) == (net2, sta2, cha), "SDS path and name disagree: %s" % name)
        day0 = datetime.datetime(int(year), 1, 1, tzinfo=datetime.timezone.utc) + datetime.timedelta(days=int(doy) - 1)
        lo, hi = int(day0.timestamp()) * 1000000, int(day0.timestamp() + 86400) * 1000000
        for r in rs:
            check(r["nslc"] == "%s.%s.%s.%s" % (net, sta, loc, cha) and r["enc"] == 11,
                  "%s: record of %s, encoding %d" % (name, r["nslc"], r["enc"]))
            check(lo <= r["start"] and r["start"] + (r["n"] - 1) * 10000 < hi,
                  "%s %d: samples outside the file's day" % (name, r["seq"]))
        channels.setdefault(cha, []).extend(rs)
    check(sorted(channels) == ["HNE", "HNN", "HNZ"], "channels %s" % sorted(channels))
    days = {os.path.basename(n)[-8:] for n in files}
    check(len(days) == 2, "day files of %s" % sorted(days))
    print("records: %d in %d files (days %s)" % (len(a), len(files), " ".join(sorted(days))))

    rows, date_make = csv_rows(sorted(os.path.join(csv_folder, n) for n in os.listdir(csv_folder) if n.endswith(".csv")))
    seqs, times, logged = log_samples(log)
    first_csv_us = None
    for axis, cha in enumerate(["HNE", "HNN", "HNZ"]):
        rs = sorted(channels.get(cha, []), key=lambda r: r["start"])
        samples, stamps, segments = [], [], []
        for r in rs:
            if not stamps or r["start"] != stamps[-1] + 10000:
                segments.append(len(samples))
            for i, v in enumerate(r["values"]):
                samples.append(int(v))
                stamps.append(r["start"] + i * 10000)
        # The CSV is one run of the archive's samples.
        text = [row[axis] for row in rows]
        want = ["%f" % (c * k[axis]) for c in samples]
        starts = [i for i in range(len(want) - len(text) + 1) if want[i:i + 10] == text[:10]]
        if check(len(starts) == 1, "%s: the CSV's first samples found at %s" % (cha, starts[:5])):
            s = starts[0]
            bad = [i for i in range(len(text)) if want[s + i] != text[i]]
            check(not bad, "%s: CSV line %s differs from count x KANZAN" % (cha, [b + 7 for b in bad[:5]]))
            check(all(abs(float(t) / k[axis] - c) < 1e-3 for t, c in zip(text, samples[s:])),
                  "%s: CSV value / KANZAN is not the count" % cha)
            if axis == 0:
                first_csv_us = stamps[s]
        # One gap, as long as the recorder's log says.
        if check(len(segments) == 2, "%s: %d continuous segments" % (cha, len(segments))):
            g = segments[1]
            got = (stamps[g] - stamps[g - 1] - 10000) / 1000.0
            if axis == 0:
                archive_gap[0] = (g, got)
        print("%s: %d samples, segments at %s" % (cha, len(samples), segments))
    # Gap against the log: whole samples (all three channels) before and after it.
    all_samples = {}
    for cha in ["HNE", "HNN", "HNZ"]:
        all_samples[cha] = [int(v) for r in sorted(channels.get(cha, []), key=lambda r: r["start"]) for v in r["values"]]
    if archive_gap[0] and all(len(all_samples[c]) == len(all_samples["HNE"]) for c in all_samples):
        g, got = archive_gap[0]
        tri = lambda i: (all_samples["HNE"][i], all_samples["HNN"][i], all_samples["HNZ"][i])
        index = {v: i for i, v in enumerate(logged)}
        i1, i2 = index.get(tri(g - 1)), index.get(tri(g))
        if check(i1 is not None and i2 is not None, "samples around the gap not in the recorder's log"):
            expected = times[i2] - times[i1] - 10.0
            lost = seqs[i2] - seqs[i1] - 1
            print("gap: %.1f ms in the archive, %.1f ms by the recorder's log (%d records lost)" % (got, expected, lost))
            check(abs(got - expected) <= 50.0, "gap of %.1f ms, the log says %.1f ms" % (got, expected))
            check(got >= 1000.0, "gap of only %.1f ms" % got)
    if first_csv_us is not None:
        diff = (first_csv_us - utc_us(date_make, tz)) / 1e6
        print("CSV DATE_MAKE %s %s; the archive's time of its first sample %.3f s after it" % (date_make, tz, diff))
        check(-0.5 <= diff <= 2.0, "CSV's first sample %.3f s from its DATE_MAKE" % diff)

    xml = [n for n in os.listdir(root) if n.endswith(".xml")]
    if check(xml == ["XX.QRV01.xml"], "StationXML at the root: %s" % xml):
        ns = {"s": "http://www.fdsn.org/xml/station/1"}
        tree = ET.parse(os.path.join(root, xml[0]))
        chans = tree.findall(".//s:Channel", ns)
        check([c.get("code") for c in chans] == ["HNE", "HNN", "HNZ"], "StationXML channels")
        for c, kk in zip(chans, k):
            value = float(c.find("s:Response/s:InstrumentSensitivity/s:Value", ns).text)
            check(abs(value - 100.0 / kk) < 1e-9 * value and c.find("s:SampleRate", ns).text == "100",
                  "StationXML %s: sensitivity %g, expected %g" % (c.get("code"), value, 100.0 / kk))
        print("StationXML: %s" % ", ".join("%s %s counts per m/s**2" % (c.get("code"), c.find(
            "s:Response/s:InstrumentSensitivity/s:Value", ns).text) for c in chans))


archive_gap = [None]


def export(dump_c, dump_js, csv, tz):
    a, b = read_dump(dump_c), read_dump(dump_js)
    same_readers(a, b)
    per_file(a)
    rows, date_make = csv_rows([csv])
    start = utc_us(date_make, tz)
    for axis, cha in enumerate(["HNE", "HNN", "HNZ"]):
        rs = [r for r in a if r["nslc"].endswith("." + cha)]
        values = [v for r in rs for v in r["values"]]
        check(all(r["enc"] == 5 for r in rs), "%s: not 64-bit floats" % cha)
        check(values == [float(row[axis]) for row in rows], "%s: values differ from the CSV's" % cha)
        n = 0
        for r in rs:
            check(r["start"] == start + n * 10000, "%s: record at sample %d starts at %d" % (cha, n, r["start"]))
            n += r["n"]
    print("export: %d records, %d samples per channel from %s %s" % (len(a), len(rows), date_make, tz))


if __name__ == "__main__":
    if sys.argv[1] == "archive":
        archive(*sys.argv[2:9])
    else:
        export(*sys.argv[2:6])
    for p in problems:
        print("PROBLEM: " + p)
    sys.exit(1 if problems else 0)
