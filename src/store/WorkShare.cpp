#include "store/WorkShare.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

namespace WorkShare {

namespace {

// The thread a KeptHelper keeps: it runs one job at a time, handed over by
// RunBeside.
class Helper {
public:
    Helper() : m_thread([this] { Loop(); }) {}
    ~Helper() {
        {
            const std::lock_guard<std::mutex> hold(m_lock);
            m_bEnding = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

    // Hands job over unless another is under way (false then).
    bool TryStart(const std::function<void()>& job) {
        const std::lock_guard<std::mutex> hold(m_lock);
        if (m_job)
            return false;
        m_job = &job;
        m_bDone = false;
        m_wake.notify_all();
        return true;
    }
    void WaitUntilDone() {
        std::unique_lock<std::mutex> hold(m_lock);
        m_wake.wait(hold, [&] { return m_bDone; });
        m_job = nullptr;
    }

private:
    void Loop() {
        std::unique_lock<std::mutex> hold(m_lock);
        for (;;) {
            m_wake.wait(hold, [&] { return m_bEnding || (m_job && !m_bDone); });
            if (m_bEnding)
                return;
            const std::function<void()>* job = m_job;
            hold.unlock();
            (*job)();  // the jobs of this file throw nothing
            hold.lock();
            m_bDone = true;
            m_wake.notify_all();
        }
    }

    std::mutex m_lock;
    std::condition_variable m_wake;
    const std::function<void()>* m_job = nullptr;  // under way until taken back
    bool m_bDone = false;
    bool m_bEnding = false;
    std::thread m_thread;
};

// The first exception the pieces of a shared job threw, kept to be thrown
// again once both threads are done.
class FirstException {
public:
    void Keep() {
        const std::lock_guard<std::mutex> hold(m_lock);
        if (!m_error)
            m_error = std::current_exception();
    }
    void ThrowAgain() const {
        if (m_error)
            std::rethrow_exception(m_error);
    }

private:
    std::mutex m_lock;
    std::exception_ptr m_error;
};

std::mutex g_keptLock;
Helper* g_kept = nullptr;

// Runs work on the caller's thread and, beside it, on the kept helper (or
// a thread of its own when there is none or it is busy); returns when both
// are done. work throws nothing.
void RunBeside(const std::function<void()>& work) {
    Helper* helper = nullptr;
    {
        const std::lock_guard<std::mutex> hold(g_keptLock);
        if (g_kept && g_kept->TryStart(work))
            helper = g_kept;
    }
    if (!helper) {
        std::jthread own(work);
        work();
        return;
    }
    work();
    helper->WaitUntilDone();
}

}  // namespace

KeptHelper::KeptHelper() {
    const std::lock_guard<std::mutex> hold(g_keptLock);
    if (!g_kept)
        g_kept = new Helper();
}

KeptHelper::~KeptHelper() {
    const std::lock_guard<std::mutex> hold(g_keptLock);
    delete g_kept;
    g_kept = nullptr;
}

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
    FirstException error;
    auto work = [&] {
        for (size_t i; !failed && (i = next++) < count;) {
            try {
                piece(i);
            } catch (...) {
                error.Keep();
                failed = true;
            }
        }
    };
    RunBeside(work);
    error.ThrowAgain();
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
    FirstException error;
    // A piece's call; an exception counts as a false.
    auto call = [&error](auto&& function, size_t i, auto& bytes) {
        try {
            return function(i, bytes);
        } catch (...) {
            error.Keep();
            return false;
        }
    };
    auto work = [&] {
        std::string bytes;
        for (;;) {
            const size_t i = next++;
            if (i >= count)
                return;
            bytes.clear();
            bool ok = call(make, i, bytes);
            std::unique_lock<std::mutex> hold(lock);
            turn.wait(hold, [&] { return nextToTake == i || stoppedAt < i; });
            if (stoppedAt < i)
                return;  // an earlier piece ended the work
            if (ok) {
                hold.unlock();
                ok = call(take, i, std::as_const(bytes));
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
    RunBeside(work);
    error.ThrowAgain();
    return stoppedAt;
}

}  // namespace WorkShare
