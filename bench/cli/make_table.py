#!/usr/bin/env python3
"""Writes a MicroStation version 8 remap table of ROWS data rows (default
1,000,000) for the import benchmark: five sections with qualifier and extra
output columns, comments, blank lines and CR LF line ends; about one key in
eight repeats an earlier one. The rows come in the order their keys were
made; with --shuffled shuffled within each section, with --padded one key
in a thousand has a leading blank (bench/import/GeneratedRemapTable.h makes
the same tables).

    make_table.py [--shuffled | --padded] OUTPUT [ROWS]
"""
import random
import sys

SECTIONS = [
    ("Levels", "Level,Color,Weight,LineStyle,Class,DWGOutputLayer,V7OutputLevel,V8OutputLevel", "A-LAYER-"),
    ("Colors", "Color,Level,DWGOutputColor,V8OutputColor", "ac"),
    ("Weights", "Weight,Level,DWGOutputWeight", "0."),
    ("LineStyles", "LineStyle,Level,Color,DWGOutputLineStyle", "DASHED"),
    ("CellNames", "CellName,Level,V7OutputCellName", "BLOCK_"),
]


def row(name, key, value, pad):
    if name == "Levels":
        return f"{pad}Level {key},3,2,0,Primary,{value},7,7\r\n"
    if name == "Colors":
        return f"{pad}{key},,{value},14\r\n"
    if name in ("Weights", "CellNames"):
        return f"{pad}K{key},Walls,{value}\r\n"
    return f"{pad}{{ Style {key} }},,,{value}\r\n"


def main():
    args = sys.argv[1:]
    shape = args.pop(0) if args and args[0].startswith("--") else ""
    output = args[0]
    rows = int(args[1]) if len(args) > 1 else 1_000_000
    per_section = rows // len(SECTIONS)
    shuffle = random.Random(11).shuffle
    with open(output, "w", encoding="latin-1", newline="") as out:
        out.write("# generated remap table\r\n")
        for name, header, prefix in SECTIONS:
            out.write(f"\r\n%section,{name}\r\n{header}\r\n")
            lines = []
            for i in range(per_section):
                key = i // 2 if i % 8 == 7 else i
                pad = " " if shape == "--padded" and i % 1000 == 999 else ""
                line = row(name, key, f"{prefix}{i % 1000}", pad)
                if i % 50000 == 0:
                    line += "# checkpoint\r\n\r\n"
                lines.append(line)
            if shape == "--shuffled":
                shuffle(lines)
            out.writelines(lines)


if __name__ == "__main__":
    main()
