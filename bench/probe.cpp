// A measuring probe that zanfor-measure preloads (LD_PRELOAD) into the two
// programs it compares, zanfor-layout and zanfor-baseline, so that both run
// exactly as built, with no option or switch of their own. It reads its
// orders from ZANFOR_PROBE_* variables, drives the window through its widgets
// (found by object name), and prints its findings on standard output as
// lines starting with "zanfor-probe", which neither program prints itself.
// It links the web engine, which then loads with the program: the start-up
// is timed by the light probe (window_probe.cpp) instead.
//
//   ZANFOR_PROBE=clicks   after the start prompt has loaded: memory,
//                         ZANFOR_PROBE_CLICKS style clicks each timed to the
//                         load's end, memory again, with ZANFOR_PROBE_SEED
//                         seeding the pauses.
//
// For "clicks": ZANFOR_PROBE_OPEN names buttons clicked once first (the
// function-list buttons that open the section panels), ZANFOR_PROBE_STYLES
// names the widgets whose radio buttons are clicked in turn, and, for the
// bare program, whose click does not write the page itself,
// ZANFOR_PROBE_SNIPPETS names a folder of pages 00.html, 01.html, ... one of
// which is copied to ZANFOR_PROBE_TARGET before each click, outside the
// timing.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>

#include <unistd.h>

namespace {

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

void report(const QByteArray &line)
{
    const QByteArray out = "zanfor-probe " + line + '\n';
    std::fwrite(out.constData(), 1, std::size_t(out.size()), stdout);
    std::fflush(stdout);
}

// The process and all its descendants (the web engine's browser-side helper
// processes: zygote, renderer, GPU and utility processes).
QList<qint64> processTree(qint64 root)
{
    QHash<qint64, QList<qint64>> children;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold blanks and brackets.
        const QByteArray line = stat.readAll();
        const qsizetype close = line.lastIndexOf(')');
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        if (fields.size() > 1)
            children[fields.at(1).toLongLong()].append(pid);
    }
    QList<qint64> tree{root};
    for (qsizetype i = 0; i < tree.size(); ++i)
        tree += children.value(tree.at(i));
    return tree;
}

qint64 pssKb(qint64 pid)
{
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return 0;
    // Files under /proc report no size: read to the end, then look.
    const QList<QByteArray> lines = rollup.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("Pss:"))
            return line.mid(4).trimmed().split(' ').constFirst().toLongLong();
    }
    return 0;
}

// The web engine's name for a helper process ("renderer", "zygote", ...),
// "main" for the program itself.
QByteArray processKind(qint64 pid)
{
    if (pid == getpid())
        return "main";
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly))
        return "gone";
    for (const QByteArray &arg : cmdline.readAll().split('\0')) {
        if (arg.startsWith("--type="))
            return arg.mid(7);
    }
    return "other";
}

// "<total kB> <processes> <kind>=<kB> ...": PSS summed over the process
// tree, then each process's share.
QByteArray treePss()
{
    const QList<qint64> tree = processTree(getpid());
    qint64 total = 0;
    QByteArray each;
    for (qint64 pid : tree) {
        const qint64 kb = pssKb(pid);
        total += kb;
        each += ' ' + processKind(pid) + '=' + QByteArray::number(kb);
    }
    return QByteArray::number(total) + ' ' + QByteArray::number(tree.size()) + each;
}

QStringList listFromEnv(const char *name)
{
    return qEnvironmentVariable(name).split(u',', Qt::SkipEmptyParts);
}

// The orders, read when the library loads; the variables are then removed
// so the web engine's helper processes start without the probe.
struct Orders
{
    QByteArray mode;
    int clicks = 0;
    QStringList open;
    QStringList styles;
    QString snippets;
    QString target;
    unsigned seed = 1;
    int settleMs = 1500; // pause before each memory reading
};

Orders &orders()
{
    static Orders o;
    return o;
}

__attribute__((constructor)) void readOrders()
{
    Orders &o = orders();
    o.mode = qgetenv("ZANFOR_PROBE");
    o.clicks = qEnvironmentVariableIntValue("ZANFOR_PROBE_CLICKS");
    o.open = listFromEnv("ZANFOR_PROBE_OPEN");
    o.styles = listFromEnv("ZANFOR_PROBE_STYLES");
    o.snippets = qEnvironmentVariable("ZANFOR_PROBE_SNIPPETS");
    o.target = qEnvironmentVariable("ZANFOR_PROBE_TARGET");
    if (qEnvironmentVariableIsSet("ZANFOR_PROBE_SEED"))
        o.seed = unsigned(qEnvironmentVariableIntValue("ZANFOR_PROBE_SEED"));
    unsetenv("LD_PRELOAD");
}

template<typename T>
T *findByName(const QString &name)
{
    for (QWidget *w : QApplication::allWidgets()) {
        if (w->objectName() == name)
            if (auto *t = qobject_cast<T *>(w))
                return t;
    }
    return nullptr;
}

QWebEngineView *findView()
{
    for (QWidget *w : QApplication::allWidgets()) {
        if (auto *view = qobject_cast<QWebEngineView *>(w))
            return view;
    }
    return nullptr;
}

class ClickSession : public QObject
{
public:
    ClickSession(QWebEngineView *view, const Orders &o)
        : m_view(view)
        , m_orders(o)
        , m_random(o.seed)
    {
        for (const QString &name : o.styles) {
            QWidget *holder = findByName<QWidget>(name);
            if (!holder)
                fail("no widget " + name.toUtf8());
            const QList<QRadioButton *> buttons = holder->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly);
            m_buttons += buttons;
        }
        if (m_buttons.isEmpty())
            fail("no radio buttons to click");
        if (!o.snippets.isEmpty()) {
            for (int i = 0;; ++i) {
                QFile file(QDir(o.snippets).filePath(QStringLiteral("%1.html").arg(i, 2, 10, QLatin1Char('0'))));
                if (!file.open(QIODevice::ReadOnly))
                    break;
                m_pages.append(file.readAll());
            }
            if (m_pages.isEmpty())
                fail("no pages in " + o.snippets.toUtf8());
        }
        connect(m_view->page(), &QWebEnginePage::loadFinished, this, &ClickSession::loaded);
        // A click that loads nothing would leave the session waiting forever.
        m_overdue.setSingleShot(true);
        m_overdue.setInterval(30000);
        connect(&m_overdue, &QTimer::timeout, this,
                [this] { fail("no page loaded after click " + QByteArray::number(m_done)); });
    }

    void start()
    {
        QTimer::singleShot(m_orders.settleMs, this, [this] {
            report("pss-start " + treePss());
            for (const QString &name : m_orders.open) {
                if (auto *button = findByName<QAbstractButton>(name))
                    button->click();
                else
                    fail("no button " + name.toUtf8());
            }
            next();
        });
    }

private:
    [[noreturn]] static void fail(const QByteArray &why)
    {
        report("error " + why);
        std::_Exit(2);
    }

    void next()
    {
        if (m_done == m_orders.clicks) {
            QTimer::singleShot(m_orders.settleMs, this, [this] {
                report("pss-after " + treePss());
                report("history " + QByteArray::number(m_view->history()->count()));
                QCoreApplication::quit();
            });
            return;
        }
        // A random pause, so that the click does not keep one phase against
        // the display's frames.
        std::uniform_int_distribution<int> pause(20, 60);
        QTimer::singleShot(pause(m_random), this, [this] { click(); });
    }

    void click()
    {
        const int k = m_done;
        if (!m_pages.isEmpty()) {
            QFile target(m_orders.target);
            if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate))
                fail("cannot write " + m_orders.target.toUtf8());
            target.write(m_pages.at(k % m_pages.size()));
        }
        QRadioButton *button = m_buttons.at(k % m_buttons.size());
        m_waiting = true;
        m_overdue.start();
        m_clickedAt = monotonicNs();
        button->click();
        m_returnedAt = monotonicNs();
    }

    void loaded(bool ok)
    {
        if (!m_waiting)
            return;
        const qint64 end = monotonicNs();
        m_waiting = false;
        m_overdue.stop();
        report("click " + QByteArray::number(end - m_clickedAt) + ' ' + QByteArray::number(m_returnedAt - m_clickedAt)
               + ' ' + (ok ? "ok" : "failed"));
        ++m_done;
        next();
    }

    QWebEngineView *m_view;
    const Orders &m_orders;
    std::mt19937 m_random;
    QList<QRadioButton *> m_buttons;
    QList<QByteArray> m_pages;
    QTimer m_overdue;
    int m_done = 0;
    bool m_waiting = false;
    qint64 m_clickedAt = 0;
    qint64 m_returnedAt = 0;
};

// Runs once the event loop turns for the first time: the window exists and
// its first page has been asked for but cannot have finished loading yet.
void attach()
{
    QWebEngineView *view = findView();
    if (!view) {
        QTimer::singleShot(1, QCoreApplication::instance(), attach);
        return;
    }
    QObject::connect(view->page(), &QWebEnginePage::loadFinished, view, [view](bool ok) {
        static bool seen = false;
        if (seen)
            return;
        seen = true;
        if (!ok) {
            report("error the start prompt did not load");
            std::_Exit(2);
        }
        (new ClickSession(view, orders()))->start();
    });
}

void install()
{
    if (orders().mode != "clicks")
        return;
    QTimer::singleShot(0, QCoreApplication::instance(), attach);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(install)
