#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include <QThreadPool>

/// Runs work(i) for every i in [0, count) on up to `workers` threads and hands each result to
/// deliver(i, result) on the calling thread, strictly in index order. While the calling thread
/// waits for the next result it calls idle() about every 15 ms, and it calls idle() once after
/// every delivery, so the user's windows stay live.
///
/// work runs on pool threads: it must not touch the caller's objects except through values it
/// owns (give each call its own engine instance). At most a few results per worker are held
/// ahead of the one delivered. deliver returns false to stop: work not yet started is dropped,
/// running work is waited for, and runInOrder returns false. With workers <= 0 everything runs
/// on the calling thread. runInOrder never returns before every started work call has ended.
template <typename R>
bool runInOrder(int count,
                int workers,
                const std::function<R(int)> &work,
                const std::function<bool(int, R &)> &deliver,
                const std::function<void()> &idle)
{
    auto letRun = [&idle] {
        if (idle) {
            idle();
        }
    };
    if (count <= 0) {
        return true;
    }
    if (workers <= 0) {
        for (int i = 0; i < count; ++i) {
            R result = work(i);
            if (!deliver(i, result)) {
                return false;
            }
            letRun();
        }
        return true;
    }

    struct Shared
    {
        std::mutex mutex;
        std::condition_variable ready;
        std::vector<std::optional<R>> results;
    };
    auto shared = std::make_shared<Shared>();
    shared->results.resize(static_cast<size_t>(count));

    QThreadPool pool;
    pool.setMaxThreadCount(workers);
    const int ahead = std::max(8, workers * 4);
    int submitted = 0;
    auto submitUpTo = [&](int limit) {
        for (; submitted < count && submitted < limit; ++submitted) {
            const int i = submitted;
            pool.start([shared, i, &work] {
                R result = work(i);
                {
                    std::lock_guard lock(shared->mutex);
                    shared->results[static_cast<size_t>(i)].emplace(std::move(result));
                }
                shared->ready.notify_all();
            });
        }
    };

    bool completed = true;
    for (int i = 0; i < count; ++i) {
        submitUpTo(i + ahead);
        std::optional<R> result;
        {
            std::unique_lock lock(shared->mutex);
            auto &slot = shared->results[static_cast<size_t>(i)];
            while (!slot) {
                if (!shared->ready.wait_for(lock, std::chrono::milliseconds(15), [&slot] {
                        return slot.has_value();
                    })) {
                    lock.unlock();
                    letRun();
                    lock.lock();
                }
            }
            result.swap(slot);
        }
        if (!deliver(i, *result)) {
            completed = false;
            break;
        }
        letRun();
    }
    pool.clear();
    pool.waitForDone();
    return completed;
}
