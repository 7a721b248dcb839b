#include "store/WorkShare.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

namespace WorkShare {

bool HasSecondProcessor() {
    static const bool has = std::thread::hardware_concurrency() > 1;
    return has;
}

void ForEach(size_t count, const std::function<void(size_t)>& piece, bool bShare) {
    if (!bShare || count < 2 || !HasSecondProcessor()) {
        for (size_t i = 0; i < count; ++i)
            piece(i);
        return;
    }
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr error;
    std::mutex errorLock;
    auto work = [&] {
        for (size_t i; !failed && (i = next++) < count;) {
            try {
                piece(i);
            } catch (...) {
                const std::lock_guard<std::mutex> hold(errorLock);
                if (!error)
                    error = std::current_exception();
                failed = true;
            }
        }
    };
    {
        std::jthread helper(work);
        work();
    }
    if (error)
        std::rethrow_exception(error);
}

}  // namespace WorkShare
