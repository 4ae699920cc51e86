// The tests' second reader of Access files, mdb-reader (written apart from mdbtools), and their wordDB writer.
// "read FILE TABLE COLUMN..." prints the columns, tab-separated, a line a row, Null as "~". "write FILE HEADER
// text|date ROW..." writes ROWs "UpDay|English|Japanese" ("~": Null; "-": counted, but lost) after page 0 of the
// Jet 4 file HEADER, UpDay as text or Date/Time, and is silent when mdb-reader reads them back, and mdb-export
// but for its losses (an empty text shown as Null, "?" for each half of a character outside the BMP).
const fs = require("fs");
const { execFileSync } = require("child_process");
// mdb-reader goes into node_modules beside this file on its first use.
if (!fs.existsSync(`${__dirname}/node_modules/mdb-reader`))
    execFileSync("npm", ["ci", "--prefix", __dirname, "--no-audit", "--no-fund"], { stdio: "ignore" });
const MDBReader = require("mdb-reader");
const [mode, file, ...rest] = process.argv.slice(2);
const writing = mode === "write", lines = writing ? rest.slice(2).filter((line) => line !== "-") : [];
if (writing) write(rest[0], rest[1] === "date", rest.length - 2);
const [table, ...columns] = writing ? ["wordDB", "UpDay", "English", "Japanese"] : rest;
const text = (v) => (v === null ? "~" : v instanceof Date ? v.toISOString().slice(0, 19).replace(/-/g, "/").replace("T", " ") : v);
const rows = new MDBReader(fs.readFileSync(file)).getTable(table).getData();
const read = rows.map((row) => columns.map((column) => text(row[column])).join("\t") + "\n").join("");
const written = lines.map((line) => line.replace(/\|/g, "\t") + "\n").join("");
const options = ["-H", "-Q", "-d", "\t", "-0", "~", "-T", "%Y/%m/%d %H:%M:%S", file, "wordDB"];
const lossy = written.replace(/(?<=^|\t)(?=\t|\n)/gm, "~").replace(/[\ud800-\udfff]/g, "?");
const exported = writing ? execFileSync("mdb-export", options, { encoding: "utf8" }) : lossy;
const wrong = read !== written || exported !== lossy ? `mdb-reader reads:\n${read}mdb-export reads:\n${exported}` : "";
process.stdout.write(writing ? wrong : read);

// Jet 4 as mdbtools' HACKING notes describe it, texts as UCS-2 (the fixture has Access's compressed ones): 4 KiB
// pages, 1 the usage maps, 2 and 3 the catalog MSysObjects (the columns mdbtools binds), 4 and on wordDB.
function write(header, dated, counted) {
    const u16 = (n) => Buffer.from([n & 0xff, n >> 8]);
    // The page's type, and at 4 the table a data page belongs to.
    const page = (type, owner) => Buffer.concat([Buffer.from([type, 1, 0, 0, owner]), Buffer.alloc(4091)]);
    // The row count at 16, the table's type at 40, column counts from 41, the usage maps' rows at 55 and 59, then
    // an entry of 25 bytes a column (type; numbers at 5, 7, 9; flags at 15; size at 23) and the UCS-2 names.
    const definition = (names, count, usageMap, dated, p = page(2, 0)) => {
        p.writeUInt32LE(count, 16), (p[40] = 0x4e), p.writeUInt32LE(usageMap, 55), p.writeUInt32LE(usageMap, 59);
        [names.length, names.length - dated, names.length].forEach((n, k) => p.writeUInt16LE(n, 41 + 2 * k));
        names.reduce((at, name, i, _, c = 63 + 25 * i, fixed = dated && i === 0) => {
            (p[c] = fixed ? 0x08 : 0x0a), (p[c + 15] = fixed ? 0x03 : 0x02), p.writeUInt16LE(fixed ? 8 : 510, c + 23);
            [i, fixed ? 0 : i - dated, i].forEach((n, k) => p.writeUInt16LE(n, c + 5 + 2 * k));
            return at + 2 + p.write(name, p.writeUInt16LE(2 * name.length, at), "utf16le");
        }, 63 + 25 * names.length);
        return p;
    };
    // The column count, a Date/Time value, the texts, then the end of the data, the texts' offsets last to
    // first, their count and the null mask (a set bit: not Null).
    const row = (values, fixedFirst = false) => {
        const parts = [u16(values.length), ...values.map((v) => v ?? Buffer.alloc(0))], data = Buffer.concat(parts);
        const offsets = values.map((_, i) => u16(Buffer.concat(parts.slice(0, i + 1)).length)).slice(fixedFirst ? 1 : 0);
        const mask = values.reduce((m, v, i) => (v === null ? m : m | (1 << i)), 0);
        return Buffer.concat([data, u16(data.length), ...offsets.reverse(), u16(offsets.length), Buffer.from([mask])]);
    };
    // Rows are stored from the end of a page towards its head, their offsets after the page's header.
    const dataPages = (owner, rows, pages = [], p = null, count = 0, end = 0) => {
        for (const r of rows) {
            if (16 + 2 * count + r.length > end) pages.push((p = page(1, owner))), (count = 0), (end = 4096);
            r.copy(p, (end -= r.length)), p.writeUInt16LE(end, 14 + 2 * count), p.writeUInt16LE(++count, 12);
        }
        return pages;
    };
    // A usage map of type 0 from page 0 on: a set bit for each of the table's pages.
    const usageMap = (first, n) => Array.from({ length: first + n }, (_, p) => p >= first)
        .reduce((map, on, p) => ((map[5 + (p >> 3)] |= on << (p & 7)), map), Buffer.alloc(6 + ((first + n) >> 3)));
    const ucs2 = (t) => (t === null || t === "~" ? null : Buffer.from(t, "utf16le"));
    const days = (t) => Date.parse(t.replace(/\//g, "-").replace(" ", "T") + "Z") / 864e5 + 25569;
    const upDay = (t) => (dated ? Buffer.from(Float64Array.of(days(t)).buffer) : ucs2(t));
    const wordRow = ([up, ...texts]) => row([upDay(up), ...texts.map(ucs2)], dated);
    const wordPages = dataPages(4, lines.map((line) => wordRow(line.split("|"))));
    fs.writeFileSync(file, Buffer.concat([fs.readFileSync(header).subarray(0, 4096),
        ...dataPages(0, [usageMap(3, 1), usageMap(5, wordPages.length)]),
        definition(["Id", "Type", "Flags", "Name", "LvProp"], 1, 0x100, false),
        ...dataPages(2, [row(["4", "1", "0", "wordDB", null].map(ucs2))]),
        definition(["UpDay", "English", "Japanese"], counted, 0x101, dated), ...wordPages]));
}
