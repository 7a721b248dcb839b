#include "import/TableParts.h"

#include <algorithm>
#include <numeric>
#include <string>

namespace TableParts {
namespace {

// Calls found(start), in file order, for each line start in [from, to)
// where a section marker row begins as bytes: "%section," at the file's
// start or after a line feed. Looked for from the '%', rare in a table.
template <class Found>
void ForEachMarkerLine(const ByteSource& read, uint64_t from, uint64_t to, Found&& found) {
    constexpr uint64_t kStep = uint64_t(1) << 16;
    std::string window;
    for (uint64_t at = from; at < to; at += kStep) {
        const uint64_t end = std::min(at + kStep, to);
        const uint64_t readFrom = at == 0 ? 0 : at - 1;  // and the byte before, for its line feed
        window.resize(size_t(end - readFrom) + kSectionMarker.size() - 1);
        size_t got = 0;
        if (!read(readFrom, window.data(), window.size(), got))
            return;
        const std::string_view text(window.data(), got);
        for (size_t p = text.find(kSectionMarker, size_t(at - readFrom)); p != std::string_view::npos;
             p = text.find(kSectionMarker, p + 1)) {
            const uint64_t start = readFrom + p;
            if (start >= end)
                break;
            if (start == 0 || text[p - 1] == '\n')
                found(start);
        }
    }
}

// Just after the first line feed in [at, end), or kNowhere without one
// in the next window of bytes.
uint64_t LineStartAfter(const ByteSource& read, uint64_t at, uint64_t end) {
    std::string window(size_t(std::min<uint64_t>(end - at, uint64_t(1) << 16)), '\0');
    size_t got = 0;
    if (!read(at, window.data(), window.size(), got))
        return kNowhere;
    const size_t feed = std::string_view(window.data(), got).find('\n');
    return feed == std::string_view::npos ? kNowhere : at + feed + 1;
}

// The start of the section marker row nearest target, looked for a step
// at a time on either side of it until one is found or the steps are reach
// away; kNowhere when there is none.
uint64_t MarkerNear(const ByteSource& read, uint64_t size, uint64_t target, uint64_t reach) {
    constexpr uint64_t kStep = uint64_t(1) << 16;
    uint64_t best = kNowhere, bestDistance = UINT64_MAX;
    auto nearer = [&](uint64_t start) {
        const uint64_t distance = start > target ? start - target : target - start;
        if (distance < bestDistance) {
            best = start;
            bestDistance = distance;
        }
    };
    for (uint64_t distance = 0; distance < reach && best == kNowhere; distance += kStep) {
        ForEachMarkerLine(read, target + distance, std::min(target + distance + kStep, size), nearer);
        if (distance < target)
            ForEachMarkerLine(read, target - std::min(target, distance + kStep), target - distance, nearer);
    }
    return best;
}

// When the later of two threads ends, each taking the largest piece of
// work left as soon as it is free.
uint64_t TwoThreadSpan(std::vector<uint64_t> works) {
    std::sort(works.begin(), works.end(), std::greater<>());
    uint64_t first = 0, second = 0;
    for (uint64_t work : works)
        (first <= second ? first : second) += work;
    return std::max(first, second);
}

}  // namespace

uint64_t LastMarkerLine(const ByteSource& read, uint64_t floor, uint64_t before) {
    constexpr uint64_t kStep = uint64_t(1) << 16;
    uint64_t marker = kNowhere;
    for (uint64_t end = before; end > floor && marker == kNowhere;) {
        const uint64_t at = end - std::min(end - floor, kStep);
        ForEachMarkerLine(read, at, end, [&marker](uint64_t start) { marker = start; });
        end = at;
    }
    return marker;
}

uint64_t RowsOf(const ByteSource& read, uint64_t from, uint64_t end) {
    const uint64_t size = end - from;
    std::string sample(size_t(std::min<uint64_t>(size, uint64_t(1) << 15)), '\0');
    size_t got = 0;
    if (!read(from + (size - sample.size()) / 2, sample.data(), sample.size(), got) || got == 0)
        return 0;
    const uint64_t feeds = uint64_t(std::count(sample.data(), sample.data() + got, '\n'));
    return feeds * size / got;
}

// The parts of a file read at once: its start and the section markers
// nearest to evenly spaced points; then, while two threads would end far
// apart (a section larger than the rest, say), the part of most work cut
// in two at a line start near its middle, up to most parts. No part but
// the first begins before firstFrom.
std::vector<Part> PartsOf(const ByteSource& read, uint64_t size, size_t parts, size_t most, uint64_t firstFrom) {
    std::vector<uint64_t> starts{0};
    for (size_t part = 1; part < parts; ++part) {
        const uint64_t start = MarkerNear(read, size, size / parts * part, std::max<uint64_t>(size / parts / 2, 1));
        if (start != kNowhere && start >= firstFrom)
            starts.push_back(start);
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    std::vector<Part> plan;
    for (size_t i = 0; i < starts.size(); ++i) {
        const uint64_t end = i + 1 < starts.size() ? starts[i + 1] : size;
        plan.push_back(Part{starts[i], end, false, starts[i], RowsOf(read, starts[i], end)});
    }
    while (plan.size() < most) {
        std::vector<uint64_t> works;
        for (const Part& part : plan)
            works.push_back(part.Work());
        const uint64_t total = std::accumulate(works.begin(), works.end(), uint64_t(0));
        if (TwoThreadSpan(works) * 100 <= total * 51)
            break;
        const size_t largest = size_t(std::max_element(works.begin(), works.end()) - works.begin());
        const Part cut = plan[largest];
        const uint64_t middle = LineStartAfter(read, cut.from + (cut.end - cut.from) / 2, cut.end);
        if (middle >= cut.end || middle < firstFrom)
            break;
        plan[largest] = Part{cut.from, middle, cut.bInSection, cut.floor, RowsOf(read, cut.from, middle)};
        plan.insert(plan.begin() + std::ptrdiff_t(largest) + 1,
                    Part{middle, cut.end, true, cut.floor, RowsOf(read, middle, cut.end)});
    }
    return plan;
}

}  // namespace TableParts
