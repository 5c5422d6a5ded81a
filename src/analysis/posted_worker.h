// One job at a time on a worker thread whose reports reach the main thread as posted
// tasks: the whole percentage done (sent when it changes) and the finished result. The
// worker touches only what its job was handed; cancel, a new job and destruction stop
// the worker and wait for it first, and reports of a stopped job are dropped.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

namespace quillex {

template <typename Result> class PostedWorker {
  public:
    // Runs a task on the main thread later; may be called from any thread. Tasks posted
    // after the worker is destroyed must be dropped by the poster.
    using Post = std::function<void(std::function<void()>)>;
    struct Observer {
        // The whole percentage done, sent only when it changes.
        std::function<void(int percent)> percent;
        // The job has ended (never called for a cancelled one).
        std::function<void(std::shared_ptr<const Result>)> finished;
    };
    // Told the share done (0..1); false when the job should stop.
    using Progress = std::function<bool(double share)>;
    // Runs on the worker: the result (which may be null), or nothing when it stopped.
    using Job = std::function<std::optional<std::shared_ptr<const Result>>(const Progress&)>;

    explicit PostedWorker(Post post) : post_(std::move(post)) {}
    ~PostedWorker() { cancel(); }
    PostedWorker(const PostedWorker&) = delete;
    PostedWorker& operator=(const PostedWorker&) = delete;

    // Cancels any job and starts `job`.
    void start(Job job, Observer observer) {
        cancel();
        const std::uint64_t run = ++run_;
        observer_ = std::move(observer);
        cancel_ = std::make_shared<std::atomic<bool>>(false);
        done_ = std::make_shared<std::atomic<bool>>(false);
        worker_ = std::thread(
            [this, run, job = std::move(job), cancel = cancel_, done = done_, post = post_] {
                int lastPercent = -1;
                const Progress progress = [&](double share) {
                    const int percent = static_cast<int>(share * 100);
                    if (percent != lastPercent) {
                        lastPercent = percent;
                        post([this, run, percent] { reportPercent(run, percent); });
                    }
                    return !cancel->load(std::memory_order_relaxed);
                };
                auto result = job(progress);
                done->store(true);
                if (!result || cancel->load())
                    return;
                post([this, run, shared = std::move(*result)] { finish(run, shared); });
            });
    }
    // Stops a running job and waits for its worker.
    void cancel() {
        if (cancel_)
            cancel_->store(true);
        if (worker_.joinable())
            worker_.join();
        ++run_;
    }
    bool running() const { return worker_.joinable() && !done_->load(); }

  private:
    void reportPercent(std::uint64_t run, int percent) {
        if (run == run_ && observer_.percent)
            observer_.percent(percent);
    }
    void finish(std::uint64_t run, std::shared_ptr<const Result> result) {
        if (run != run_)
            return;
        if (worker_.joinable())
            worker_.join();
        if (observer_.finished)
            observer_.finished(std::move(result));
    }

    Post post_;
    Observer observer_;
    std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<std::atomic<bool>> done_ = std::make_shared<std::atomic<bool>>(true);
    std::thread worker_;
    std::uint64_t run_ = 0; // the job whose reports count; main thread only
};

} // namespace quillex
