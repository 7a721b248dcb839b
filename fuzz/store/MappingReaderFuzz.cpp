// Feeds arbitrary bytes to the mapping-file reader. Besides surviving them,
// whatever it reads must survive a write and a second read unchanged: a pair
// the reader accepts never holds what the writer could not bring back.
#include "SevenTables.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Tables first = Tables::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string bytes = first.Written();
    if (bytes.empty())
        std::abort();  // every character read from bytes fits a byte
    if (first.Listed() != Tables::Parse(bytes).Listed())
        std::abort();
    return 0;
}
