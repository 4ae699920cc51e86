// Prints columns of a table of an Access file as mdb-reader, written apart from mdbtools, reads them: one
// line a row, values separated by tabs, Null as "~", Date/Time as yyyy/mm/dd hh:mm:ss.
const MDBReader = require("mdb-reader");
const [file, table, ...columns] = process.argv.slice(2);
const text = (value) =>
    value === null ? "~" : value instanceof Date ? value.toISOString().slice(0, 19).replace(/-/g, "/").replace("T", " ") : value;
const rows = new MDBReader(require("fs").readFileSync(file)).getTable(table).getData();
process.stdout.write(rows.map((row) => columns.map((column) => text(row[column])).join("\t") + "\n").join(""));
