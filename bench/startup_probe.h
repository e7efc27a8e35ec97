#pragma once
// The end of a start-up measurement, shared by startup_nimbo and
// startup_bare so both stop the clock at the same moment: when the first
// expose of a window has been handled, that is, its first frame is painted
// and handed to the window system. The start is the moment startup_runner
// spawned the process (NIMBO_BENCH_T0_NS, CLOCK_MONOTONIC), so loading the
// libraries and everything before main() counts too.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace bench {

class FirstFrameProbe : public QObject {
public:
    FirstFrameProbe()
    {
        const char* t0 = std::getenv("NIMBO_BENCH_T0_NS");
        if (!t0) {
            std::fputs("NIMBO_BENCH_T0_NS is not set: start this program through startup_runner\n", stderr);
            std::exit(2);
        }
        start_ = std::strtoll(t0, nullptr, 10);
        // On the application, so that no expose can come before the filter.
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!done_ && event->type() == QEvent::Expose) {
            const auto* window = qobject_cast<QWindow*>(watched);
            if (window && window->isExposed()) {
                done_ = true;
                // Runs once the expose, and with it the painting, is done.
                QTimer::singleShot(0, this, [this] { report(); });
            }
        }
        return false;
    }

private:
    void report() const
    {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const long long elapsed = now.tv_sec * 1000000000LL + now.tv_nsec - start_;
        std::printf("%lld\n", elapsed);
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    long long start_ = 0;
    bool done_ = false;
};

}  // namespace bench
