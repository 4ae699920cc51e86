// mdb-reader, the tests' second reader of Access files (written apart from mdbtools), and their writer of wordDB
// files. "read FILE TABLE COLUMN..." prints the columns, a line a row, tab-separated, Null as "~". "write FILE
// text|date COUNT HEADER < LINES" first writes FILE: LINES "UpDay|English|Japanese" ("~" for Null), UpDay as
// text or Date/Time, COUNT rows counted by the table's definition, page 0 taken from the Jet 4 file HEADER.
const fs = require("fs");
const MDBReader = require("mdb-reader");
const [mode, file, ...rest] = process.argv.slice(2);
if (mode === "write") write(rest[0] === "date", Number(rest[1]), rest[2]);
const [table, ...columns] = mode === "write" ? ["wordDB", "UpDay", "English", "Japanese"] : rest;
const text = (v) => (v === null ? "~" : v instanceof Date ? v.toISOString().slice(0, 19).replace(/-/g, "/").replace("T", " ") : v);
const rows = new MDBReader(fs.readFileSync(file)).getTable(table).getData();
process.stdout.write(rows.map((row) => columns.map((column) => text(row[column])).join("\t") + "\n").join(""));

// Jet 4 as mdbtools' HACKING notes describe it: 4 KiB pages, no indexes; text columns, but a Date/Time first
// one when dated; English stored compressed, the other texts as UCS-2.
function write(dated, counted, header) {
    const u16 = (n) => Buffer.from([n & 0xff, n >> 8]);
    // The page's type, and from 4 the table a data page belongs to.
    const page = (type, owner) => Buffer.concat([Buffer.from([type, 1, 0, 0]), Buffer.alloc(4092)]).fill(owner, 4, 5);
    // The row count at 16, the table's type at 40, column counts from 41, the usage maps' rows at 55 and 59, then
    // an entry of 25 bytes a column (type; numbers at 5, 7, 9; flags at 15; size at 23) and the UCS-2 names.
    const definition = (names, count, usageMap, dated) => {
        const p = page(2, 0);
        p.writeUInt32LE(count, 16), (p[40] = 0x4e), p.writeUInt32LE(usageMap, 55), p.writeUInt32LE(usageMap, 59);
        [names.length, names.length - dated, names.length].forEach((n, k) => p.writeUInt16LE(n, 41 + 2 * k));
        let at = 63 + 25 * names.length;
        names.forEach((name, i) => {
            const c = 63 + 25 * i, fixed = dated && i === 0;
            (p[c] = fixed ? 0x08 : 0x0a), (p[c + 15] = fixed ? 0x03 : 0x02), p.writeUInt16LE(fixed ? 8 : 510, c + 23);
            [i, fixed ? 0 : i - dated, i].forEach((n, k) => p.writeUInt16LE(n, c + 5 + 2 * k));
            at = p.writeUInt16LE(2 * name.length, at);
            at += p.write(name, at, "utf16le");
        });
        return p;
    };
    // The column count, a Date/Time value, the texts, then the end of the data, the texts' offsets last to
    // first, their count and the null mask (a set bit: not Null).
    const row = (values, dated) => {
        let data = u16(values.length), offsets = Buffer.alloc(0);
        const mask = Buffer.alloc((values.length + 7) >> 3);
        values.forEach((v, i) => {
            if (v !== null) mask[i >> 3] |= 1 << (i & 7);
            if (!dated || i > 0) offsets = Buffer.concat([u16(data.length), offsets]);
            data = Buffer.concat([data, v ?? Buffer.alloc(dated && i === 0 ? 8 : 0)]);
        });
        return Buffer.concat([data, u16(data.length), offsets, u16(offsets.length / 2), mask]);
    };
    // Rows are stored from the end of a page towards its head, their offsets after the page's header.
    const dataPages = (owner, rows) => {
        const pages = [];
        let count = 0, end = 0;
        for (const r of rows) {
            if (!pages.length || 16 + 2 * count + r.length > end) pages.push(page(1, owner)), (count = 0), (end = 4096);
            const p = pages[pages.length - 1];
            r.copy(p, (end -= r.length)), p.writeUInt16LE(end, 14 + 2 * count), p.writeUInt16LE(++count, 12);
        }
        return pages;
    };
    // A usage map of type 0 from page 0 on: a set bit for each of the table's pages.
    const usageMap = (first, n) => {
        const map = Buffer.alloc(6 + ((first + n) >> 3));
        for (let p = first; p < first + n; p++) map[5 + (p >> 3)] |= 1 << (p & 7);
        return map;
    };
    const ucs2 = (t) => (t === null ? null : Buffer.from(t, "utf16le"));
    // Access's compressed form: 0xff 0xfe, then a byte a character, each 0x00 switching to two and back. Not
    // for a character outside the BMP, which mdb-reader cannot read back from it.
    const compressed = (t) => {
        if (t === null || t === "" || /[\ud800-\udfff]/.test(t)) return ucs2(t);
        const out = [0xff, 0xfe];
        for (let i = 0, one = true; i < t.length; i++) {
            const unit = t.charCodeAt(i);
            if (unit < 0x100 !== one) out.push(0), (one = !one);
            one ? out.push(unit) : out.push(unit & 0xff, unit >> 8);
        }
        return Buffer.from(out);
    };
    const days = (t) => Date.parse(t.replace(/\//g, "-").replace(" ", "T") + "Z") / 864e5 + 25569;
    const date = (t) => (t === null ? null : Buffer.from(new Float64Array([days(t)]).buffer));
    const lines = fs.readFileSync(0, "utf8").split("\n").filter((line) => line);
    const words = lines.map((line) => line.split("|").map((v) => (v === "~" ? null : v)));
    const wordPages = dataPages(4, words.map(([up, en, ja]) => row([dated ? date(up) : ucs2(up), compressed(en), ucs2(ja)], dated)));
    // Page 1 holds the usage maps, 2 and 3 the catalog MSysObjects with the columns mdbtools binds, 4 and on wordDB.
    const catalog = row(["4", "1", "0", "wordDB", null].map(ucs2), false);
    fs.writeFileSync(file, Buffer.concat([fs.readFileSync(header).subarray(0, 4096),
        ...dataPages(0, [usageMap(3, 1), usageMap(5, wordPages.length)]),
        definition(["Id", "Type", "Flags", "Name", "LvProp"], 1, 0x100, false), ...dataPages(2, [catalog]),
        definition(["UpDay", "English", "Japanese"], counted, 0x101, dated), ...wordPages]));
}
