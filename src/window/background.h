#pragma once
// Work off the user-interface thread, on Qt's global pool (the Windows build
// of Qt carries Core, Gui and Widgets only: no QtConcurrent). The work asks
// now and then whether to go on; its result comes back on the receiver's
// thread, or is dropped if the receiver has gone by then. The work may
// outlive its receiver, so it holds what it reads by value or shared pointer.
#include <QFutureWatcher>
#include <QObject>
#include <QPromise>
#include <QThreadPool>

#include <atomic>
#include <exception>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

namespace nimbo {

// Raised when nobody wants the work's result any more: by its owner, or when
// its receiver is destroyed. Copies share one flag.
class StopFlag {
public:
    void request() const { flag_->store(true); }
    bool requested() const { return flag_->load(); }

private:
    std::shared_ptr<std::atomic<bool>> flag_ = std::make_shared<std::atomic<bool>>(false);
};

// Runs work(stop) on the pool; then, on the receiver's thread, done(result),
// or failed(exception) for what the work threw. Neither is called once the
// receiver is destroyed. The flag returned stops the work.
template <class Work, class Done, class Failed>
StopFlag RunInBackground(QObject& receiver, Work work, Done done, Failed failed)
{
    using Result = std::invoke_result_t<Work&, const StopFlag&>;
    struct Outcome {
        std::optional<Result> result;
        std::exception_ptr failure;
    };
    StopFlag stop;
    // A child of the receiver, gone with it: nothing is then delivered, and
    // the work is told that its result is unwanted.
    auto* watcher = new QFutureWatcher<Outcome>(&receiver);
    QObject::connect(watcher, &QObject::destroyed, [stop] { stop.request(); });
    QObject::connect(watcher, &QFutureWatcherBase::finished, &receiver,
                     [watcher, done = std::move(done), failed = std::move(failed)]() mutable {
                         watcher->deleteLater();
                         Outcome outcome = watcher->future().takeResult();
                         if (outcome.failure)
                             failed(outcome.failure);
                         else
                             done(std::move(*outcome.result));
                     });
    auto promise = std::make_shared<QPromise<Outcome>>();
    promise->start();
    watcher->setFuture(promise->future());
    QThreadPool::globalInstance()->start([promise, stop, work = std::move(work)]() mutable {
        Outcome outcome;
        try {
            outcome.result.emplace(work(std::as_const(stop)));
        } catch (...) {
            outcome.failure = std::current_exception();
        }
        promise->addResult(std::move(outcome));
        promise->finish();
    });
    return stop;
}

}  // namespace nimbo
