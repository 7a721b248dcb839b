// A generated version 8 remap table of rowCount rows, as UTF-8 text: five
// sections with qualifier and extra output columns, comments, blank lines
// and CR LF; about one key in eight repeats an earlier one. Plain ASCII for
// a Western office; with japanese, level keys and layer and block names in
// two-byte characters of code page 932. Shared by the native import
// benchmark and the page timing harness.
#pragma once

#include <string>

inline std::string GeneratedRemapTable(int rowCount, bool japanese = false) {
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
    for (const Section& section : sections) {
        out += std::string("\r\n%section,") + section.name + "\r\n" + section.header + "\r\n";
        const std::string name = section.name;
        for (int i = 0; i < perSection; ++i) {
            const int key = (i % 8 == 7) ? i / 2 : i;
            const std::string value = section.valuePrefix + std::to_string(i % 1000);
            if (name == "Levels")
                out += (japanese ? "\xE5\xA3\x81 " : "Level ") + std::to_string(key) + ",3,2,0,Primary," + value + ",7,7\r\n";
            else if (name == "Colors")
                out += std::to_string(key) + ",," + value + ",14\r\n";
            else if (name == "Weights" || name == "CellNames")
                out += "K" + std::to_string(key) + ",Walls," + value + "\r\n";
            else
                out += "{ Style " + std::to_string(key) + " },,," + value + "\r\n";
            if (i % 50000 == 0)
                out += "# checkpoint\r\n\r\n";
        }
    }
    return out;
}
