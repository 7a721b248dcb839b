#!/usr/bin/env python3
"""The obvious script a CAD administrator would write for what
"varnel import -m FILE TABLE" does, with Python's csv module: read the
mapping file into seven dictionaries, read the version 8 table's sections,
trim and merge the pairs by the same rules, and write the whole file again
(sections in file order, keys sorted, CR LF), through a temporary file.
The merge rule: within one table the last DWG value for a MicroStation
value as written wins at the place where that value first appeared (a
dictionary keeps a key's first place), then the trimmed pairs go in.

    import_peer.py -m FILE TABLE...
"""
import csv
import os
import sys

SECTION_KEYS = ["Aliases", "MappingCommands", "Colors", "LineStyles", "Cells", "Weights", "Levels"]
# Table section -> (MicroStation column, DWG column, mapping file section)
KINDS = {
    "Levels": ("Level", "DWGOutputLayer", "Levels"),
    "Colors": ("Color", "DWGOutputColor", "Colors"),
    "Weights": ("Weight", "DWGOutputWeight", "Weights"),
    "LineStyles": ("LineStyle", "DWGOutputLineStyle", "LineStyles"),
    "CellNames": ("CellName", "V7OutputCellName", "Cells"),
}
ENCODING = "latin-1"
BLANKS = " \t\n\v\f\r"


def read_mapping(path):
    tables = {key: {} for key in SECTION_KEYS}
    lower = {key.lower(): key for key in SECTION_KEYS}
    if not os.path.exists(path):
        return tables
    current = None
    with open(path, encoding=ENCODING, newline="") as f:
        for line in f:
            t = line.strip(BLANKS)
            if not t:
                continue
            if t.startswith("[") and t.endswith("]"):
                name = t[1:-1].strip(BLANKS)
                if name:
                    current = lower.get(name.lower())
                continue
            key, sep, value = t.partition("=")
            if not sep or not key or current is None:
                continue
            tables[current][key.strip(BLANKS)] = value.strip(BLANKS)
    return tables


def read_table(path):
    """Yields (section, MicroStation value, DWG value) for every data row."""
    with open(path, encoding=ENCODING, newline="") as f:
        rows = csv.reader(f)
        section = None
        header = None
        for row in rows:
            if row and row[0].startswith("#"):
                continue
            if len(row) == 2 and row[0].startswith("%section"):
                section, header = row[1], None
                continue
            if section is None:
                continue
            if header is None:
                header = row
                names = KINDS.get(section)
                columns = None
                if names and names[0] in header and names[1] in header:
                    columns = (header.index(names[0]), header.index(names[1]), names[2])
                continue
            if columns and len(row) > max(columns[0], columns[1]):
                yield columns[2], row[columns[0]], row[columns[1]]


def merge(tables, path):
    written = {}  # (section, MicroStation value as written) -> its last DWG value
    for section, key, value in read_table(path):
        written[(section, key)] = value
    for (section, key), value in written.items():
        key, value = key.strip(BLANKS), value.strip(BLANKS)
        if section in ("Colors", "Cells"):
            value = value.strip("ac").strip(BLANKS)
        if key:
            tables[section][key] = value


def write_mapping(path, tables):
    temporary = path + ".peer"
    with open(temporary, "w", encoding=ENCODING, newline="") as out:
        for name in SECTION_KEYS:
            out.write(f"[{name}]\r\n")
            table = tables[name]
            for key in sorted(table):
                out.write(f"{key} = {table[key]}\r\n")
            out.write("\r\n")
    os.replace(temporary, path)


def main():
    args = sys.argv[1:]
    mapping = "commands.mapping"
    if len(args) >= 2 and args[0] == "-m":
        mapping, args = args[1], args[2:]
    tables = read_mapping(mapping)
    for table in args:
        merge(tables, table)
    write_mapping(mapping, tables)


if __name__ == "__main__":
    main()
