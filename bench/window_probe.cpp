// A light probe that zanfor-measure preloads (LD_PRELOAD) into zanfor-layout
// and the bare window program zanfor-bare-window, to time how soon each puts
// its window on the screen. It needs only Qt GUI, which both programs load
// anyway, so neither pays for libraries the other does not. It prints, on
// standard output, lines starting with "zanfor-probe":
//
//   loaded <ns>   every library is loaded and relocated (its constructor)
//   app <ns>      the application object exists
//   window <ns>   the first top-level window is exposed: mapped on the X
//                 server and ready to be painted
//
// then quits the program. Times are CLOCK_MONOTONIC nanoseconds.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <ctime>

#include <stdlib.h>

namespace {

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

void report(const char *what, qint64 ns)
{
    std::printf("zanfor-probe %s %lld\n", what, static_cast<long long>(ns));
    std::fflush(stdout);
}

class ExposeWatch : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_seen && event->type() == QEvent::Expose) {
            auto *window = qobject_cast<QWindow *>(watched);
            if (window && window->isTopLevel() && window->isExposed()) {
                m_seen = true;
                report("window", monotonicNs());
                QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
            }
        }
        return false;
    }

private:
    bool m_seen = false;
};

__attribute__((constructor)) void loaded()
{
    report("loaded", monotonicNs());
    // The web engine's helper processes start without the probe.
    unsetenv("LD_PRELOAD");
}

void install()
{
    report("app", monotonicNs());
    QCoreApplication::instance()->installEventFilter(new ExposeWatch(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(install)
