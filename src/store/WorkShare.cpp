#include "store/WorkShare.h"

#include <atomic>
#include <condition_variable>
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

size_t ForEachInOrder(size_t count, const MakePiece& make, const TakePiece& take, bool bShare) {
    if (!bShare || count < 2 || !HasSecondProcessor()) {
        std::string bytes;
        for (size_t i = 0; i < count; ++i) {
            bytes.clear();
            if (!make(i, bytes) || !take(i, bytes))
                return i;
        }
        return count;
    }
    std::atomic<size_t> next{0};
    std::mutex lock;
    std::condition_variable turn;
    size_t nextToTake = 0;   // under lock
    size_t stoppedAt = count;  // under lock: the first piece that returned false
    std::exception_ptr error;  // under lock
    auto work = [&] {
        std::string bytes;
        for (;;) {
            const size_t i = next++;
            if (i >= count)
                return;
            bool ok = true;
            try {
                bytes.clear();
                ok = make(i, bytes);
            } catch (...) {
                const std::lock_guard<std::mutex> hold(lock);
                if (!error)
                    error = std::current_exception();
                ok = false;
            }
            std::unique_lock<std::mutex> hold(lock);
            turn.wait(hold, [&] { return nextToTake == i || stoppedAt < i; });
            if (stoppedAt < i)
                return;  // an earlier piece ended the work
            if (ok) {
                hold.unlock();
                try {
                    ok = take(i, bytes);
                } catch (...) {
                    ok = false;
                    hold.lock();
                    if (!error)
                        error = std::current_exception();
                    hold.unlock();
                }
                hold.lock();
            }
            if (ok)
                nextToTake = i + 1;
            else
                stoppedAt = i;
            turn.notify_all();
            if (!ok)
                return;
        }
    };
    {
        std::jthread helper(work);
        work();
    }
    if (error)
        std::rethrow_exception(error);
    return stoppedAt;
}

}  // namespace WorkShare
