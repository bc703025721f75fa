#include "PreviewView.h"

#include "PageCheck.h"
#include "PreviewEngine.h"
#include "Result.h"
#include "ScratchPlatform.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLibrary>
#include <QOpenGLContext>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QStackedLayout>
#include <QTimer>
#include <QWindow>

#include <thread>
#include <utility>
#include <vector>

// The setter of Qt's shared OpenGL context: exported by QtGui without a
// public header; QtWebEngine declares its getter the same way.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);
QT_END_NAMESPACE

namespace {

// How long a load may take after the engine's processes died before the view
// says that previews cannot be shown any more.
constexpr int StallMilliseconds = 5000;
// How long the phone look waits for the engine's window to take its size.
constexpr int ResizeWaitMilliseconds = 500;

// A phone's screen in the phone look, in device-independent pixels, on a
// plain grey.
constexpr QSize PhoneScreen(PageCheck::PhoneWidth, 667);
const QColor PhoneBackground(0x80, 0x80, 0x80);

// The file URLs of the local files a preview may load, built once.
QList<QUrl> fileUrls(const QStringList &files)
{
    QList<QUrl> urls;
    for (const QString &file : files)
        urls.append(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    return urls;
}

// QtWebEngine needs Qt's shared OpenGL context before its library is
// loaded, and Qt makes it with the application object only when asked
// before that object exists, which would hold the window back. It is made
// here instead, once, before the module loads; the main window draws
// without OpenGL. A program that links QtWebEngine has it already.
// The engine draws in software, yet reads the context and the platform's
// OpenGL support as it starts: made beforehand on the loading thread, the
// OpenGL driver's loading stays out of the engine's start.
void makeSharedOpenGLContext()
{
    if (QOpenGLContext::globalShareContext())
        return;
    auto *context = new QOpenGLContext;
    context->create();
    // Made on the loading thread, it belongs to the application's.
    if (context->thread() != qApp->thread())
        context->moveToThread(qApp->thread());
    QMetaObject::invokeMethod(
        qApp, [context] { context->setParent(qApp); }, Qt::QueuedConnection);
    qt_gl_set_global_share_context(context);
}

// Loads the module, with every library it needs, from beside the program
// or where it is installed relative to the program, and finds its factory.
Result<PreviewEngine::Factory> loadModule()
{
    makeSharedOpenGLContext();
    const QDir programDir(QCoreApplication::applicationDirPath());
    // The reason given is the installed place's: the one a seller has.
    QStringList reasons;
    for (const QString &dir : {QStringLiteral(ZANFOR_PREVIEW_MODULE_DIR), QStringLiteral(".")}) {
        QLibrary module(programDir.filePath(dir + QStringLiteral("/zanfor-preview")));
        if (module.load()) {
            if (auto create = reinterpret_cast<PreviewEngine::Factory>(module.resolve(PreviewEngine::FactoryName)))
                return create;
        }
        reasons.append(module.errorString());
    }
    return Failure{reasons.first()};
}

// The module, loaded once for the life of the program: on a thread of its
// own from start-up (preloadEngine), or else on the GUI thread when the
// first view asks. Mapping and relocating the engine's libraries and
// loading the OpenGL driver are most of the engine's start, and the
// window's own start can run beside them.
class EngineModule
{
public:
    static EngineModule &instance()
    {
        static EngineModule module;
        return module;
    }

    void preload()
    {
        if (m_state != State::Idle)
            return;
        m_state = State::Loading;
        m_thread = std::thread([this] {
            // A context made off the GUI thread needs the platform's leave;
            // asking loads its OpenGL support, which is slow too, so it is
            // asked here. Without it the GUI thread does it all, after the
            // window's first paint, as without preloading.
            if (!QOpenGLContext::supportsThreadedOpenGL()) {
                QMetaObject::invokeMethod(
                    qApp,
                    [this] {
                        m_thread.join();
                        m_state = State::Idle;
                        if (!m_waiting.empty())
                            finish(loadModule());
                    },
                    Qt::QueuedConnection);
                return;
            }
            Result<PreviewEngine::Factory> loaded = loadModule();
            QMetaObject::invokeMethod(
                qApp, [this, loaded] { finish(loaded); }, Qt::QueuedConnection);
        });
    }

    // Runs `ready` with the factory once the module is loaded: at once
    // when it is, or loading it here when nothing loads it yet.
    void whenLoaded(QObject *context, std::function<void(const Result<PreviewEngine::Factory> &)> ready)
    {
        if (m_state == State::Idle)
            finish(loadModule());
        if (m_state == State::Loaded) {
            ready(m_factory);
            return;
        }
        m_waiting.push_back({context, std::move(ready)});
    }

private:
    enum class State { Idle, Loading, Loaded };

    ~EngineModule()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    void finish(const Result<PreviewEngine::Factory> &loaded)
    {
        if (m_thread.joinable())
            m_thread.join();
        m_factory = loaded;
        m_state = State::Loaded;
        for (auto &[context, ready] : std::exchange(m_waiting, {})) {
            if (context)
                ready(m_factory);
        }
    }

    State m_state = State::Idle;
    std::thread m_thread;
    Result<PreviewEngine::Factory> m_factory = Failure{QString()};
    std::vector<std::pair<QPointer<QObject>, std::function<void(const Result<PreviewEngine::Factory> &)>>> m_waiting;
};

} // namespace

// Holds the engine's window: filled by it, or in the phone look with it as
// a phone's screen centred on grey, no larger than the stage.
class PreviewView::Stage : public QWidget
{
public:
    using QWidget::QWidget;

    // The engine's window, a child of the stage.
    void setSurface(QWidget *surface)
    {
        m_surface = surface;
        place();
    }

    void setPhone(bool phone)
    {
        m_phone = phone;
        place();
        update();
    }

protected:
    void resizeEvent(QResizeEvent *) override { place(); }
    void paintEvent(QPaintEvent *) override
    {
        if (m_phone)
            QPainter(this).fillRect(rect(), PhoneBackground);
    }

private:
    void place()
    {
        if (!m_surface)
            return;
        if (!m_phone) {
            m_surface->setGeometry(rect());
            return;
        }
        const QSize screen = PhoneScreen.boundedTo(size());
        m_surface->setGeometry(QRect(QPoint((width() - screen.width()) / 2, (height() - screen.height()) / 2), screen));
    }

    QWidget *m_surface = nullptr;
    bool m_phone = false;
};

PreviewView::PreviewView(const QStringList &allowedFiles, QWidget *parent)
    : QWidget(parent)
    , m_allowed(fileUrls(allowedFiles))
    , m_linkOpener([](const QUrl &url) { QDesktopServices::openUrl(url); })
    , m_stack(new QStackedLayout(this))
    , m_blank(new QWidget(this))
    , m_engineNotice(new QLabel(this))
    , m_stallTimer(new QTimer(this))
{
    m_engineNotice->setObjectName(QStringLiteral("engineNotice"));
    m_engineNotice->setTextFormat(Qt::PlainText);
    m_engineNotice->setWordWrap(true);
    m_engineNotice->setAlignment(Qt::AlignCenter);
    m_engineNotice->setMargin(40);
    m_engineNotice->setText(QStringLiteral("预览无法显示：浏览器引擎的进程已退出。\n请重新启动本程序。"
                                           "在关闭程序之前，生成项目列表保持不变。"));
    m_stack->setContentsMargins(0, 0, 0, 0);
    // Until the engine is there, the view is a blank page (paintEvent).
    m_stack->addWidget(m_blank);
    m_stack->addWidget(m_engineNotice);

    // Tab passes the preview by: web content would keep the focus inside
    // its links. A click still gives it the focus for scrolling.
    setFocusPolicy(Qt::ClickFocus);
    setAccessibleName(QStringLiteral("预览"));

    m_stallTimer->setSingleShot(true);
    m_stallTimer->setInterval(StallMilliseconds);
    connect(m_stallTimer, &QTimer::timeout, this, [this] { m_stack->setCurrentWidget(m_engineNotice); });
}

void PreviewView::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Qt::white);
    // The first paint means the window is on the screen: the engine, which
    // takes a while to start, comes next, once this paint is shown.
    if (!m_engine && !m_engineQueued) {
        m_engineQueued = true;
        QMetaObject::invokeMethod(this, &PreviewView::startEngine, Qt::QueuedConnection);
    }
}

void PreviewView::preloadEngine()
{
    EngineModule::instance().preload();
}

void PreviewView::startEngine()
{
    EngineModule::instance().whenLoaded(this,
                                        [this](const Result<PreviewEngine::Factory> &create) { createEngine(create); });
}

void PreviewView::createEngine(const Result<PreviewEngine::Factory> &create)
{
    if (!create) {
        m_engineNotice->setText(QStringLiteral("预览无法显示：浏览器引擎无法载入。\n") + create.error());
        m_stack->setCurrentWidget(m_engineNotice);
        return;
    }
    PreviewEngine::Setup setup;
    setup.allowedFiles = m_allowed;
    setup.textEncoding = ScratchPlatform::encodingName();
    setup.openLink = m_linkOpener;
    setup.loadFinished = [this](bool ok) {
        // The count of deaths stays: a page that kills the renderer once it
        // has loaded would otherwise be shown again and again.
        if (ok) {
            m_processDied = false;
            m_stallTimer->stop();
            m_stack->setCurrentWidget(m_stage);
            if (m_pageRequest == m_request) {
                m_engine->inspectPage([this, request = m_request](const PreviewEngine::PageFacts &facts) {
                    if (request == m_request)
                        emit pageLaidOut(facts);
                });
            }
        }
        emit loadFinished(ok);
    };
    setup.renderProcessDied = [this] { renderProcessDied(); };
    m_engine.reset((*create)(setup));

    m_stage = new Stage(this);
    m_stage->setPhone(m_phone);
    m_surface = QWidget::createWindowContainer(m_engine->window()->windowHandle(), m_stage);
    m_surface->setFocusPolicy(Qt::ClickFocus);
    m_surface->setAccessibleName(accessibleName());
    setFocusProxy(m_surface);
    m_stage->setSurface(m_surface);
    m_stack->insertWidget(0, m_stage);
    m_stack->setCurrentWidget(m_stage);
    delete m_blank;
    m_blank = nullptr;
    QCoreApplication::instance()->installEventFilter(this);

    // What was asked before the engine was there: only the last request
    // counts, as it would have replaced the others.
    if (!m_lastFile.isEmpty())
        load(m_lastFile);
    else if (m_request > 0)
        setPromptHtml(m_lastPrompt);
}

bool PreviewView::eventFilter(QObject *watched, QEvent *event)
{
    if (m_zoomOnResize && event->type() == QEvent::Resize && watched == m_engine->window()
        && static_cast<QResizeEvent *>(event)->size() == m_surface->size()) {
        m_zoomOnResize = false;
        applyZoom(!m_lastFile.isEmpty());
    }
    // At quit Qt closes every visible top-level widget and gives up, the
    // quit with it, at the first one that will not close. The engine's
    // window is one of them to Qt, yet embedded it cannot be closed on its
    // own: it is hidden first, with the preview, and shown again if a
    // window refuses the quit (unsaved changes kept).
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit && m_surface->isVisible()) {
        m_surface->hide();
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_stack->currentWidget() == m_stage)
                    m_surface->show();
            },
            Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

PreviewView::~PreviewView()
{
    // The engine's window goes first, while the container that embeds it
    // still exists to let it go.
    m_engine.reset();
}

QWebEngineView *PreviewView::view() const
{
    return m_engine ? m_engine->view() : nullptr;
}

void PreviewView::setLinkOpener(LinkOpener opener)
{
    m_linkOpener = std::move(opener);
    if (m_engine)
        m_engine->setLinkOpener(m_linkOpener);
}

void PreviewView::showPrompt(const QString &text)
{
    ++m_request;
    m_crashesOnSamePage = 0;
    m_lastFile.clear();
    m_lastPrompt = text;
    setPromptHtml(text);
}

void PreviewView::showFile(const QString &path)
{
    showUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

void PreviewView::showFileFromTop(const QString &path)
{
    // The engine takes a load of the address it shows for a reload and
    // puts the page back where it was scrolled to. The same file under an
    // address of its own (a query, which a file ignores) starts at its top.
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    url.setQuery(u"top=" % QString::number(m_request + 1));
    showUrl(url);
}

void PreviewView::showUrl(const QUrl &url)
{
    // Every preview rewrites the same file: a new request is a new page
    // even when the path is the same.
    ++m_request;
    m_crashesOnSamePage = 0;
    m_lastFile = url;
    load(m_lastFile);
}

void PreviewView::showPage(const QString &path)
{
    showFile(path);
    m_pageRequest = m_request;
}

void PreviewView::setPhoneLook(bool on)
{
    if (on == m_phone)
        return;
    m_phone = on;
    if (!m_engine)
        return; // startEngine() sets the stage up
    const QSize before = m_surface->size();
    m_stage->setPhone(on);
    // The engine's window takes its new size through the window system.
    // The zoom goes with it: given now, the engine would lay the page out
    // twice, at the new zoom in the old size and again in the new one.
    m_zoomOnResize = m_surface->size() != before;
    if (!m_zoomOnResize) {
        applyZoom(!m_lastFile.isEmpty());
        return;
    }
    // The scroll bars go at once: hidden only after the page was laid out
    // in the new size, they would stay and take width from it.
    m_scrollBars = !m_phone;
    m_engine->setZoom(m_zoom, m_scrollBars);
    // Should the window system not answer, the zoom comes all the same.
    QTimer::singleShot(ResizeWaitMilliseconds, this, [this] {
        if (m_zoomOnResize) {
            m_zoomOnResize = false;
            applyZoom(!m_lastFile.isEmpty());
        }
    });
}

void PreviewView::applyZoom(bool file)
{
    const int width = m_pageWidth ? m_pageWidth() : 0;
    const double zoom = m_phone && file && width > 0 ? double(PageCheck::PhoneWidth) / width : 1.0;
    if (zoom != m_zoom || m_phone == m_scrollBars) {
        m_zoom = zoom;
        m_scrollBars = !m_phone;
        m_engine->setZoom(zoom, m_scrollBars);
    }
}

void PreviewView::load(const QUrl &url)
{
    if (!m_engine)
        return; // startEngine() loads it
    watchForStall();
    applyZoom(true);
    m_engine->load(url);
}

void PreviewView::setPromptHtml(const QString &text)
{
    if (!m_engine)
        return; // startEngine() shows it
    watchForStall();
    // The program's own text, not a page: as it is, in either look.
    applyZoom(false);
    m_engine->showText(text);
}
void PreviewView::watchForStall()
{
    if (m_processDied)
        m_stallTimer->start();
}

void PreviewView::renderProcessDied()
{
    // Show the page that was current when the process died again; if that
    // page kills the renderer a second time, loaded or not, show the prompt
    // with the reason instead of looping. A recovery that finds a newer
    // request has nothing to do: the newer page is on its way.
    m_processDied = true;
    ++m_crashesOnSamePage;
    const bool retry = !m_lastFile.isEmpty() && m_crashesOnSamePage < 2;
    const quint64 request = m_request;
    QTimer::singleShot(0, this, [this, retry, request] {
        if (request != m_request)
            return;
        if (retry) {
            load(m_lastFile);
        } else {
            const QString prompt = m_lastFile.isEmpty() ? m_lastPrompt
                                                        : QStringLiteral("预览页面无法显示：浏览器进程意外退出。");
            m_lastFile.clear();
            setPromptHtml(prompt);
        }
        emit recovered(retry);
    });
}
