// WorkShare: independent pieces of one job shared between the caller's
// thread and one more, for the large imports and saves of batch work on a
// machine of more than one processor.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace WorkShare {

// Keeps one helper thread for as long as it lives (a program's main), so
// that each shared job finds it waiting, on the other processor, instead
// of starting a thread of its own, which the system may run first on the
// caller's busy processor until its next scheduling tick. Without one,
// each job starts its own thread. Only a program keeps one: a library's
// thread could outlive the library.
class KeptHelper {
public:
    KeptHelper();
    ~KeptHelper();
    KeptHelper(const KeptHelper&) = delete;
    KeptHelper& operator=(const KeptHelper&) = delete;
};

// Whether a second thread helps here: the machine has more than one
// processor.
bool HasSecondProcessor();

// Work over fewer table pairs than this (a merge, an encoding) ends sooner
// on one thread than a second thread takes to start.
constexpr size_t kSharedFromPairs = size_t(1) << 16;

// Calls piece(i) once for every i below count. With bShare (and a second
// processor) two threads take the next piece in turn, each as soon as it is
// done with its last, so the larger pieces should come first; otherwise
// the caller calls them in order. An exception from a piece is thrown again
// once both threads are done; the pieces not yet begun are then skipped.
void ForEach(size_t count, const std::function<void(size_t)>& piece, bool bShare = true);

// Pieces made apart and used in order, as the pieces of a file written
// from start to end: make(i, bytes) fills bytes (the thread's own, reused
// from piece to piece) and take(i, bytes) then gets them, in the order of
// i and one at a time. With bShare two threads make pieces as in ForEach.
// A false from make or take ends the work there: no later piece is taken,
// every earlier one is. Returns the index of the first piece that returned
// false, or count. Exceptions as in ForEach.
using MakePiece = std::function<bool(size_t, std::string&)>;
using TakePiece = std::function<bool(size_t, const std::string&)>;
size_t ForEachInOrder(size_t count, const MakePiece& make, const TakePiece& take, bool bShare = true);

}  // namespace WorkShare
