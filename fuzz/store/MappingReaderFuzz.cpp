// Feeds arbitrary bytes to the mapping-file reader. Besides surviving them,
// whatever it reads must survive a write and a second read unchanged: a pair
// the reader accepts never holds what the writer could not bring back.
#include "store/MappingFile.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

struct Tables {
    std::array<MappingTable, MappingKindCount> table;
    MappingTables View() {
        MappingTables view;
        for (size_t i = 0; i < table.size(); ++i)
            view[i] = &table[i];
        return view;
    }
};

bool Same(const MappingTable& a, const MappingTable& b) {
    if (a.GetCount() != b.GetCount())
        return false;
    auto other = b.begin();
    for (const auto& [key, value] : a) {
        if (other->first != key || other->second != value)
            return false;
        ++other;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Tables first;
    MappingFile::ReadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size), first.View());

    CStringArray lines;
    MappingFile::BuildLines(lines, first.View());
    CVNTextFile file(u"mapping", u"\n");
    std::string bytes;
    if (!file.EncodeLines(lines, bytes))
        std::abort();  // every character read from bytes fits a byte

    Tables second;
    MappingFile::ReadFromBytes(bytes, second.View());
    for (size_t i = 0; i < first.table.size(); ++i)
        if (!Same(first.table[i], second.table[i]))
            std::abort();
    return 0;
}
