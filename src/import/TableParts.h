// The parts of a large version 8 table that two threads read at once, as
// bytes of a single-byte code page: where they begin and how much work
// each is. The bytes come through a ByteSource, a file's or a buffer's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace TableParts {

// Gives up to size bytes of the file from offset on at buffer; got 0 past
// its end. False when the read fails. Two readers may call it at once.
using ByteSource = std::function<bool(uint64_t offset, char* buffer, size_t size, size_t& got)>;

// No offset: no such place in the file.
constexpr uint64_t kNowhere = UINT64_MAX;

// The start of a version 8 table's section marker row, as bytes.
constexpr std::string_view kSectionMarker = "%section,";

// The start of the last section marker row ("%section," at the file's
// start or after a line feed) in [floor, before), looked for backwards a
// step at a time; kNowhere when there is none.
uint64_t LastMarkerLine(const ByteSource& read, uint64_t floor, uint64_t before);

// The work of reading a part, in bytes: a row costs as much more as this
// many bytes (its pair widened, sorted and merged).
constexpr uint64_t kRowWork = 16;

// A part of a file read apart, [from, end): from a section marker row or
// (bInSection) from a line start inside a section, whose state is taken
// from the last marker row at or after floor. rows: its lines, estimated.
struct Part {
    uint64_t from, end;
    bool bInSection;
    uint64_t floor;
    uint64_t rows;

    uint64_t Work() const { return end - from + kRowWork * rows; }
};

// The lines of the bytes [from, end), estimated from a sample of their middle.
uint64_t RowsOf(const ByteSource& read, uint64_t from, uint64_t end);

// The parts of a file read at once: its start and the section markers
// nearest to evenly spaced points; then, while two threads would end far
// apart (a section larger than the rest, say), the part of most work cut
// in two at a line start near its middle, up to most parts. No part but
// the first begins before firstFrom.
std::vector<Part> PartsOf(const ByteSource& read, uint64_t size, size_t parts, size_t most, uint64_t firstFrom);

}  // namespace TableParts
