// msdump.mjs: every record of the miniSEED files given, read with the npm package seisplotjs, as
// the same text lines as msdump.c prints (its start time from the record's own time fields, to
// the 100 µs they hold).
import { readFileSync } from "node:fs";
import { miniseed } from "seisplotjs";

let failed = 0;
for (const file of process.argv.slice(2)) {
  try {
    const bytes = readFileSync(file);
    const buffer = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength);
    const out = [];
    for (const record of miniseed.parseDataRecords(buffer)) {
      const h = record.header;
      const b = h.startBTime;
      const ms = Date.UTC(b.year, 0, 1) + ((((b.jday - 1) * 24 + b.hour) * 60 + b.min) * 60 + b.sec) * 1000;
      const startUs = BigInt(ms) * 1000n + BigInt(b.tenthMilli) * 100n;
      const values = Array.from(record.decompress(), (v) =>
        Number.isInteger(v) && h.encoding !== 5 ? String(v) : v.toPrecision(17).replace(/\.?0+(e|$)/, "$1"));
      out.push(`R ${file} ${parseInt(h.seq, 10)} ${h.netCode}.${h.staCode}.${h.locCode}.${h.chanCode} ${startUs} ` +
        `${h.sampleRate} ${h.recordSize} ${h.encoding} ${h.numSamples}\nD${values.map((v) => " " + v).join("")}\n`);
    }
    process.stdout.write(out.join(""));
  } catch (e) {
    process.stderr.write(`msdump.mjs: ${file}: ${e}\n`);
    failed = 1;
  }
}
process.exit(failed);
