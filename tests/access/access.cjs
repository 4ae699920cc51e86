// The tests' second reader of Access files, mdb-reader (written apart from mdbtools), and their wordDB
// writer. "read FILE TABLE COLUMN..." prints rows tab-separated, Null as "~". "write FILE HEADER text|date
// ROW..." writes ROWs "UpDay|English|Japanese" ("~": Null; "-": counted, but lost) after page 0 of the
// Jet 4 file HEADER, UpDay as text or Date/Time, and is silent when mdb-reader reads them back.
const fs = require("fs");
// scripts/setup test puts mdb-reader into node_modules beside this file.
const MDBReader = require("mdb-reader");

const kPageSize = 4096;

function shown(value) {
    const date = value instanceof Date;
    return date ? value.toISOString().slice(0, 19).replace(/-/g, "/").replace("T", " ") : value ?? "~";
}

function readTable(file, table, columns) {
    const rows = new MDBReader(fs.readFileSync(file)).getTable(table).getData();
    const lines = rows.map((row) => columns.map((column) => shown(row[column])).join("\t") + "\n");
    return lines.join("");
}

function writeAndCheck(file, [header, upDayType, ...rows]) {
    const lines = rows.filter((line) => line !== "-");
    fs.writeFileSync(file, wordDbFile(header, upDayType === "date", rows.length, lines));
    const written = lines.map((line) => line.replace(/\|/g, "\t") + "\n").join("");
    const read = readTable(file, "wordDB", ["UpDay", "English", "Japanese"]);
    return read === written ? "" : `mdb-reader reads:\n${read}`;
}

// Jet 4 as mdbtools' HACKING notes describe it, texts as UCS-2 (the fixture has Access's compressed ones): 4
// KiB pages, 1 the usage maps, 2 and 3 the catalog MSysObjects (the columns mdbtools binds), 4 and on wordDB.
function wordDbFile(header, dated, counted, lines) {
    const upDay = (text) => (dated ? dateTime(text) : ucs2(text));
    const wordRows = lines.map((line) => {
        const [up, ...texts] = line.split("|");
        return row([upDay(up), ...texts.map(ucs2)], dated);
    });
    const wordPages = dataPages(4, wordRows);
    const catalogRow = row(["4", "1", "0", "wordDB", null].map(ucs2));
    return Buffer.concat([
        fs.readFileSync(header).subarray(0, kPageSize),
        ...dataPages(0, [usageMap(3, 1), usageMap(5, wordPages.length)]),
        definition(["Id", "Type", "Flags", "Name", "LvProp"], 1, 0x100, false),
        ...dataPages(2, [catalogRow]),
        definition(["UpDay", "English", "Japanese"], counted, 0x101, dated),
        ...wordPages,
    ]);
}

function u16(n) {
    return Buffer.from([n & 0xff, n >> 8]);
}

function ucs2(text) {
    return text === null || text === "~" ? null : Buffer.from(text, "utf16le");
}

// A Date/Time value: days since 1899-12-30 as a double.
function dateTime(text) {
    const iso = text.replace(/\//g, "-").replace(" ", "T") + "Z";
    const days = Date.parse(iso) / 864e5 + 25569;
    return Buffer.from(Float64Array.of(days).buffer);
}

// The page's type, and at 4 the table a data page belongs to.
function page(type, owner) {
    const p = Buffer.alloc(kPageSize);
    p[0] = type;
    p[1] = 1;
    p[4] = owner;
    return p;
}

// The row count at 16, the table's type at 40, column counts from 41, the usage maps' rows at 55 and 59, then
// an entry of 25 bytes a column and the columns' names.
function definition(names, count, usageMap, dated) {
    const p = page(2, 0);
    const fixedColumns = dated ? 1 : 0;
    p.writeUInt32LE(count, 16);
    p[40] = 0x4e;
    p.writeUInt16LE(names.length, 41);
    p.writeUInt16LE(names.length - fixedColumns, 43);
    p.writeUInt16LE(names.length, 45);
    p.writeUInt32LE(usageMap, 55);
    p.writeUInt32LE(usageMap, 59);
    let nameAt = 63 + 25 * names.length;
    names.forEach((name, i) => {
        writeColumn(p, 63 + 25 * i, i, dated && i === 0, fixedColumns);
        nameAt = writeName(p, nameAt, name);
    });
    return p;
}

// A column's entry: its type (Date/Time or Text), its numbers at 5, 7 and 9, its flags at 15, its size at 23.
function writeColumn(p, at, number, fixed, fixedColumns) {
    p[at] = fixed ? 0x08 : 0x0a;
    p.writeUInt16LE(number, at + 5);
    p.writeUInt16LE(fixed ? 0 : number - fixedColumns, at + 7);
    p.writeUInt16LE(number, at + 9);
    p[at + 15] = fixed ? 0x03 : 0x02;
    p.writeUInt16LE(fixed ? 8 : 510, at + 23);
}

// The name's length in bytes, then the name as UCS-2; returns where the next name goes.
function writeName(p, at, name) {
    p.writeUInt16LE(2 * name.length, at);
    return at + 2 + p.write(name, at + 2, "utf16le");
}

// The column count, a Date/Time value, the texts, then the end of the data, the texts' offsets last to first,
// their count and the null mask (a set bit: not Null).
function row(values, fixedFirst = false) {
    const stored = values.map((value) => value ?? Buffer.alloc(0));
    const data = Buffer.concat([u16(values.length), ...stored]);
    const offsets = [];
    let start = 2;
    for (const value of stored) {
        offsets.push(u16(start));
        start += value.length;
    }
    const textOffsets = fixedFirst ? offsets.slice(1) : offsets;
    const mask = values.reduce((bits, value, i) => (value === null ? bits : bits | (1 << i)), 0);
    const tail = [u16(data.length), ...textOffsets.reverse(), u16(textOffsets.length), Buffer.from([mask])];
    return Buffer.concat([data, ...tail]);
}

// Rows are stored from the end of a page towards its head, their offsets after the page's header.
function dataPages(owner, rows) {
    const pages = [];
    let p = null;
    let count = 0;
    let end = 0;
    for (const r of rows) {
        if (16 + 2 * count + r.length > end) {
            p = page(1, owner);
            pages.push(p);
            count = 0;
            end = kPageSize;
        }
        end -= r.length;
        r.copy(p, end);
        p.writeUInt16LE(end, 14 + 2 * count);
        count += 1;
        p.writeUInt16LE(count, 12);
    }
    return pages;
}

// A usage map of type 0 from page 0 on: a set bit for each of the table's pages.
function usageMap(first, n) {
    const map = Buffer.alloc(6 + ((first + n) >> 3));
    for (let p = first; p < first + n; p++) {
        map[5 + (p >> 3)] |= 1 << (p & 7);
    }
    return map;
}

const [mode, file, ...rest] = process.argv.slice(2);
if (mode === "write") {
    process.stdout.write(writeAndCheck(file, rest));
} else {
    const [table, ...columns] = rest;
    process.stdout.write(readTable(file, table, columns));
}
