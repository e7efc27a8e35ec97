#pragma once
// Shared by the start-up programs so that they all measure the same way. The
// clock starts when startup_runner spawned the process (NIMBO_BENCH_T0_NS,
// CLOCK_MONOTONIC), so loading the libraries and everything before main()
// counts too. Each program marks its steps on stdout, "<step> <ns>", and
// stops at the same moment: when the first expose of its window has been
// handled, that is, the first frame is painted and handed to the window
// system ("frame").
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace bench {

inline long long NanosecondsSinceSpawn()
{
    static const long long start = [] {
        const char* t0 = std::getenv("NIMBO_BENCH_T0_NS");
        if (!t0) {
            std::fputs("NIMBO_BENCH_T0_NS is not set: start this program through startup_runner\n", stderr);
            std::exit(2);
        }
        return std::strtoll(t0, nullptr, 10);
    }();
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec - start;
}

inline void Mark(const char* step)
{
    std::printf("%s %lld\n", step, NanosecondsSinceSpawn());
}

class FirstFrameProbe : public QObject {
public:
    // On the application, so that no expose can come before the filter.
    FirstFrameProbe() { QCoreApplication::instance()->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!done_ && event->type() == QEvent::Expose) {
            const auto* window = qobject_cast<QWindow*>(watched);
            if (window && window->isExposed()) {
                done_ = true;
                // Runs once the expose, and with it the painting, is done.
                QTimer::singleShot(0, this, [] {
                    Mark("frame");
                    std::fflush(stdout);
                    QCoreApplication::quit();
                });
            }
        }
        return false;
    }

private:
    bool done_ = false;
};

}  // namespace bench
