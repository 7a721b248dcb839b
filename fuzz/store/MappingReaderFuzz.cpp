// Feeds arbitrary bytes to the mapping-file reader, once as text of the
// Western code page (1252, a byte a character) and once as Japanese text
// (932, where a character's second byte can be "[", "\" or "]"). Besides
// surviving them, whatever it reads must survive a write and a second read
// unchanged: a pair the reader accepts never holds what the writer could
// not bring back, in either code page.
#include "SevenTables.h"

#include "store/platform/CodePage.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (unsigned codePage : {1252u, 932u}) {
        if (!CodePage::Select(codePage))
            std::abort();
        Tables first = Tables::Parse(bytes);
        std::string written = first.Written();
        if (written.empty())
            std::abort();  // every character read from bytes has bytes again
        if (first.Listed() != Tables::Parse(written).Listed())
            std::abort();
    }
    CodePage::Select(0);
    return 0;
}
