#!/usr/bin/env python3
"""Writes a MicroStation version 8 remap table of ROWS data rows (default
1,000,000) for the import benchmark: five sections with qualifier and extra
output columns, comments, blank lines and CR LF line ends; about one key in
eight repeats an earlier one.

    make_table.py OUTPUT [ROWS]
"""
import sys

SECTIONS = [
    ("Levels", "Level,Color,Weight,LineStyle,Class,DWGOutputLayer,V7OutputLevel,V8OutputLevel", "A-LAYER-"),
    ("Colors", "Color,Level,DWGOutputColor,V8OutputColor", "ac"),
    ("Weights", "Weight,Level,DWGOutputWeight", "0."),
    ("LineStyles", "LineStyle,Level,Color,DWGOutputLineStyle", "DASHED"),
    ("CellNames", "CellName,Level,V7OutputCellName", "BLOCK_"),
]


def row(name, key, value):
    if name == "Levels":
        return f"Level {key},3,2,0,Primary,{value},7,7\r\n"
    if name == "Colors":
        return f"{key},,{value},14\r\n"
    if name in ("Weights", "CellNames"):
        return f"K{key},Walls,{value}\r\n"
    return f"{{ Style {key} }},,,{value}\r\n"


def main():
    output = sys.argv[1]
    rows = int(sys.argv[2]) if len(sys.argv) > 2 else 1_000_000
    per_section = rows // len(SECTIONS)
    with open(output, "w", encoding="latin-1", newline="") as out:
        out.write("# generated remap table\r\n")
        for name, header, prefix in SECTIONS:
            out.write(f"\r\n%section,{name}\r\n{header}\r\n")
            for i in range(per_section):
                key = i // 2 if i % 8 == 7 else i
                out.write(row(name, key, f"{prefix}{i % 1000}"))
                if i % 50000 == 0:
                    out.write("# checkpoint\r\n\r\n")


if __name__ == "__main__":
    main()
