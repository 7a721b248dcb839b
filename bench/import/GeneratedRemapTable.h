// A generated version 8 remap table of rowCount rows, as UTF-8 text: five
// sections with qualifier and extra output columns, comments, blank lines
// and CR LF; about one key in eight repeats an earlier one. Plain ASCII for
// a Western office; with japanese, level keys and layer and block names in
// two-byte characters of code page 932. The rows come in the order their
// keys were made, or shuffled within each section, or in that order with
// one key in a thousand padded with a leading blank. Shared by the native
// import benchmark and the page timing harness.
#pragma once

#include <algorithm>
#include <random>
#include <string>
#include <vector>

enum class TableShape { Ordered, Shuffled, Padded };

inline std::string GeneratedRemapTable(int rowCount, bool japanese = false, TableShape shape = TableShape::Ordered) {
    struct Section {
        const char* name;
        const char* header;
        const char* valuePrefix;
    };
    const Section sections[] = {
        {"Levels", "Level,Color,Weight,LineStyle,Class,DWGOutputLayer,V7OutputLevel,V8OutputLevel",
         japanese ? "\xE7\x94\xBB\xE5\xB1\xA4\xE3\x82\xBD-" : "A-LAYER-"},  // 画層ソ-
        {"Colors", "Color,Level,DWGOutputColor,V8OutputColor", "ac"},
        {"Weights", "Weight,Level,DWGOutputWeight", "0."},
        {"LineStyles", "LineStyle,Level,Color,DWGOutputLineStyle", "DASHED"},
        {"CellNames", "CellName,Level,V7OutputCellName",
         japanese ? "\xE3\x83\x96\xE3\x83\xAD\xE3\x83\x83\xE3\x82\xAF_" : "BLOCK_"},  // ブロック_
    };
    std::string out = "# generated remap table\r\n";
    const int perSection = rowCount / 5;
    std::mt19937 random(11);
    for (const Section& section : sections) {
        out += std::string("\r\n%section,") + section.name + "\r\n" + section.header + "\r\n";
        const std::string name = section.name;
        std::vector<std::string> rows;
        for (int i = 0; i < perSection; ++i) {
            const std::string number = std::to_string((i % 8 == 7) ? i / 2 : i);
            const std::string value = section.valuePrefix + std::to_string(i % 1000);
            const std::string key = name == "Levels"   ? (japanese ? "\xE5\xA3\x81 " : "Level ") + number
                                    : name == "Colors" ? number
                                    : name == "LineStyles" ? "{ Style " + number + " }"
                                                           : "K" + number;
            std::string row = (shape == TableShape::Padded && i % 1000 == 999 ? " " : "") + key;
            if (name == "Levels")
                row += ",3,2,0,Primary," + value + ",7,7\r\n";
            else if (name == "Colors")
                row += ",," + value + ",14\r\n";
            else if (name == "LineStyles")
                row += ",,," + value + "\r\n";
            else
                row += ",Walls," + value + "\r\n";
            if (i % 50000 == 0)
                row += "# checkpoint\r\n\r\n";
            rows.push_back(std::move(row));
        }
        if (shape == TableShape::Shuffled)
            std::shuffle(rows.begin(), rows.end(), random);
        for (const std::string& row : rows)
            out += row;
    }
    return out;
}
