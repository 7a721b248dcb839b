// Seven mapping tables, one per kind, listed pair by pair and written as
// the file; shared by the store tests and the mapping-file reader's fuzz target.
#pragma once

#include "store/file/MappingFile.h"

#include <array>
#include <string>
#include <string_view>

struct Tables {
    std::array<MappingTable, MappingKindCount> table;
    MappingTables View() {
        MappingTables view;
        for (size_t i = 0; i < table.size(); ++i)
            view[i] = &table[i];
        return view;
    }
    MappingTable& operator[](MappingKind kind) { return table[size_t(kind)]; }
    static Tables Parse(std::string_view bytes) {
        Tables tables;
        MappingFile::ReadFromBytes(bytes, tables.View());
        return tables;
    }
    // Every pair as "Section:key=value" and a line feed (UTF-8), in file
    // order. Unambiguous for what the reader yields: no key holds "=" or a
    // line feed, no value a line feed.
    std::string Listed() const {
        std::string text;
        for (size_t i = 0; i < table.size(); ++i)
            for (const auto& [key, value] : table[i])
                text += SectionKey(MappingKind(i)).ToUtf8() + ":" + key.ToUtf8() + "=" + value.ToUtf8() + "\n";
        return text;
    }
    // The file's bytes as the writer produces them; "" when a character has
    // no 8-bit form.
    std::string Written() {
        CStringArray lines;
        MappingFile::BuildLines(lines, View());
        std::string bytes;
        return CVNTextFile(u"mapping", u"\n").EncodeLines(lines, bytes) ? bytes : "";
    }
};
