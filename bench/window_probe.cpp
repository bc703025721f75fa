// A light probe that zanfor-measure preloads (LD_PRELOAD) to time how soon a
// program puts its window on the screen, and how soon its web view has
// loaded the start prompt. It needs only Qt GUI, which every program
// measured loads anyway. A probe that linked the web engine would bring the
// engine's libraries, and with them Qt's shared OpenGL context, into a
// program that loads them only later, and would time a start no seller has;
// the view is found by its class name and followed through Qt's
// meta-object system for the same reason. It prints, on standard output,
// lines starting with "zanfor-probe":
//
//   loaded <ns>        every library is loaded and relocated (its constructor)
//   app <ns>           the application object exists
//   window <ns>        the first top-level window is exposed: mapped on the
//                      X server and ready to be painted
//   startup <ns> ok    with ZANFOR_PROBE=startup: the web view's first page
//                      has finished loading ("failed" if it failed)
//
// then quits the program: after "window", or with ZANFOR_PROBE=startup
// after "startup". Times are CLOCK_MONOTONIC nanoseconds.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstring>
#include <ctime>

#include <stdlib.h>

namespace {

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

void report(const char *what, qint64 ns, const char *tail = "")
{
    std::printf("zanfor-probe %s %lld%s\n", what, static_cast<long long>(ns), tail);
    std::fflush(stdout);
}

void quitSoon()
{
    QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
}

bool inheritsByName(const QMetaObject *meta, const char *className)
{
    for (; meta; meta = meta->superClass()) {
        if (std::strcmp(meta->className(), className) == 0)
            return true;
    }
    return false;
}

bool timeStartPrompt = false;

class Watch : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

public slots:
    void loaded(bool ok)
    {
        if (m_loaded)
            return;
        m_loaded = true;
        report("startup", monotonicNs(), ok ? " ok" : " failed");
        quitSoon();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_exposed && event->type() == QEvent::Expose) {
            auto *window = qobject_cast<QWindow *>(watched);
            if (window && window->isTopLevel() && window->isExposed()) {
                m_exposed = true;
                report("window", monotonicNs());
                if (!timeStartPrompt)
                    quitSoon();
            }
        }
        // A widget is polished before it is first shown, long before its
        // first page can have loaded.
        if (timeStartPrompt && !m_view && event->type() == QEvent::Polish && watched->isWidgetType()
            && inheritsByName(watched->metaObject(), "QWebEngineView")) {
            m_view = watched;
            connect(watched, SIGNAL(loadFinished(bool)), this, SLOT(loaded(bool)));
        }
        return false;
    }

private:
    bool m_exposed = false;
    QObject *m_view = nullptr;
    bool m_loaded = false;
};

__attribute__((constructor)) void loaded()
{
    report("loaded", monotonicNs());
    timeStartPrompt = qgetenv("ZANFOR_PROBE") == "startup";
    // The web engine's helper processes start without the probe.
    unsetenv("LD_PRELOAD");
}

void install()
{
    report("app", monotonicNs());
    QCoreApplication::instance()->installEventFilter(new Watch(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(install)

#include "window_probe.moc"
