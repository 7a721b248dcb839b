#include "store/BatchMerge.h"

#include "store/WorkShare.h"

#include <algorithm>
#include <vector>

void MergeBatches(const MappingTables& tables, const MappingBatches& batches) {
    std::vector<size_t> pages;
    size_t pairs = 0;
    for (size_t page = 0; page < batches.size(); ++page)
        if (tables[page] && batches[page] && batches[page]->GetCount() > 0) {
            pages.push_back(page);
            pairs += batches[page]->GetCount();
        }
    // The largest first, so that the two threads end close together.
    std::stable_sort(pages.begin(), pages.end(),
                     [&](size_t a, size_t b) { return batches[a]->GetCount() > batches[b]->GetCount(); });
    WorkShare::ForEach(
        pages.size(), [&](size_t i) { tables[pages[i]]->Merge(std::move(*batches[pages[i]])); },
        pairs >= WorkShare::kSharedFromPairs);
}
