// WorkShare: independent pieces of one job shared between the caller's
// thread and one more, for the large imports and saves of batch work on a
// machine of more than one processor.
#pragma once

#include <cstddef>
#include <functional>

namespace WorkShare {

// Whether a second thread helps here: the machine has more than one
// processor.
bool HasSecondProcessor();

// Calls piece(i) once for every i below count. With bShare (and a second
// processor) two threads take the next piece in turn, each as soon as it is
// done with its last, so the larger pieces should come first; otherwise
// the caller calls them in order. An exception from a piece is thrown again
// once both threads are done; the pieces not yet begun are then skipped.
void ForEach(size_t count, const std::function<void(size_t)>& piece, bool bShare = true);

}  // namespace WorkShare
