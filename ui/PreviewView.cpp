#include "PreviewView.h"

#include "SamplePicture.h"
#include "ScratchPlatform.h"

#include <QBuffer>
#include <QChildEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QQuickWidget>
#include <QStackedLayout>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

namespace {

// The scheme the sample pictures are served under inside the program.
const QByteArray SampleScheme = QByteArrayLiteral("zanfor-sample");

// How long a load may take after the engine's processes died before the view
// says that previews cannot be shown any more.
constexpr int StallMilliseconds = 5000;

bool isRemote(const QUrl &url)
{
    return url.scheme() == u"http" || url.scheme() == u"https";
}

// What a page may fetch or frame besides the scratch files: remote
// addresses, inline data, the empty page and the sample pictures.
bool isOpenToPreviews(const QUrl &url)
{
    return isRemote(url) || url.scheme() == u"data" || url.scheme() == u"about"
        || url.scheme() == QLatin1String(SampleScheme);
}

// The file URLs of the local files a preview may load, built once.
QList<QUrl> fileUrls(const QStringList &files)
{
    QList<QUrl> urls;
    for (const QString &file : files)
        urls.append(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    return urls;
}

bool isAllowedFile(const QList<QUrl> &allowed, const QUrl &url)
{
    return allowed.contains(url.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment));
}

// Blocks every request for a local resource but the scratch files, so a
// preview cannot show <img src="file:///..."> or <iframe src="file:///...">.
// Remote subresources (pictures, style sheets) pass, except the sample
// pictures: they are turned to the program's own scheme, so the page keeps
// their real addresses and no request for them leaves the machine.
class RequestGuard : public QWebEngineUrlRequestInterceptor
{
public:
    RequestGuard(const QList<QUrl> &allowed, QObject *parent)
        : QWebEngineUrlRequestInterceptor(parent)
        , m_allowed(allowed)
    {
    }

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        const QUrl url = info.requestUrl();
        if (SamplePicture::sizeFor(url).isValid()) {
            QUrl local = url;
            local.setScheme(QLatin1String(SampleScheme));
            info.redirect(local);
        } else if (!isOpenToPreviews(url) && !isAllowedFile(m_allowed, url)) {
            info.block(true);
        }
    }

private:
    const QList<QUrl> m_allowed;
};

// Answers the sample pictures the guard turned to the program's scheme.
class SamplePictureServer : public QWebEngineUrlSchemeHandler
{
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void requestStarted(QWebEngineUrlRequestJob *job) override
    {
        QUrl address = job->requestUrl();
        address.setScheme(QStringLiteral("https"));
        const QByteArray png = SamplePicture::png(SamplePicture::sizeFor(address));
        if (png.isEmpty()) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto *body = new QBuffer(job);
        body->setData(png);
        job->reply(QByteArrayLiteral("image/png"), body);
    }
};

// Known to the engine before its first object exists, as it requires.
void registerSampleScheme()
{
    QWebEngineUrlScheme scheme(SampleScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}

// The window a link with a target asks for. It is never shown: it hands an
// http(s) address to the desktop's browser and refuses every navigation.
class LinkCatcher : public QWebEnginePage
{
public:
    LinkCatcher(QWebEngineProfile *profile, const PreviewView::LinkOpener &open, QObject *parent)
        : QWebEnginePage(profile, parent)
        , m_open(open)
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType, bool) override
    {
        if (url.scheme() == u"about")
            return true; // the empty page a new window starts on
        if (isRemote(url))
            m_open(url);
        deleteLater();
        return false;
    }

private:
    const PreviewView::LinkOpener &m_open;
};

} // namespace

class PreviewPage : public QWebEnginePage
{
public:
    PreviewPage(QWebEngineProfile *profile, const QList<QUrl> &allowed, QObject *parent)
        : QWebEnginePage(profile, parent)
        , m_allowed(allowed)
        , m_open([](const QUrl &url) { QDesktopServices::openUrl(url); })
    {
    }

    void expectPrompt() { m_promptPending = true; }
    void setLinkOpener(PreviewView::LinkOpener open) { m_open = std::move(open); }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override
    {
        // A clicked link never changes what the view shows, in a frame or
        // not: http(s) goes to the desktop's browser, anything else nowhere.
        if (type == NavigationTypeLinkClicked) {
            if (isRemote(url))
                m_open(url);
            return false;
        }
        if (!isMainFrame)
            return isOpenToPreviews(url);
        // The prompt is our own setHtml; any other data: page is refused.
        if (url.scheme() == u"data") {
            const bool ours = m_promptPending;
            m_promptPending = false;
            return ours;
        }
        return isAllowedFile(m_allowed, url);
    }

    QWebEnginePage *createWindow(WebWindowType) override
    {
        // One catcher at a time: a window asked for and never navigated
        // (the engine's choice) does not pile up.
        delete m_catcher;
        m_catcher = new LinkCatcher(profile(), m_open, this);
        return m_catcher;
    }

private:
    const QList<QUrl> m_allowed;
    PreviewView::LinkOpener m_open;
    QPointer<LinkCatcher> m_catcher;
    bool m_promptPending = false;
};

static QWebEngineProfile *previewProfile()
{
    // One off-the-record profile for the life of the program, configured once.
    static QWebEngineProfile *profile = [] {
        registerSampleScheme();
        auto *p = new QWebEngineProfile(QCoreApplication::instance());
        p->installUrlSchemeHandler(SampleScheme, new SamplePictureServer(p));
        p->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        p->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        QWebEngineSettings *s = p->settings();
        s->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
        // The scratch page is local; without this it could fetch no remote
        // picture at all. Local files stay behind the request guard.
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
        s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
        s->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
        // Scratch files carry no charset declaration: read them in the
        // encoding they are written in.
        s->setDefaultTextEncoding(ScratchPlatform::encodingName());
        return p;
    }();
    return profile;
}

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
    // The engine's view draws through OpenGL, which Qt sets up for a window
    // when the window is made. A window shown without it would be made anew
    // when the view joins, vanishing from the screen meanwhile: a hidden
    // widget of the same kind has it made that way from the start.
    (new QQuickWidget(this))->hide();

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
    if (!m_view && !m_engineQueued) {
        m_engineQueued = true;
        QMetaObject::invokeMethod(this, &PreviewView::startEngine, Qt::QueuedConnection);
    }
}

void PreviewView::startEngine()
{
    m_page = new PreviewPage(previewProfile(), m_allowed, this);
    m_page->setLinkOpener(m_linkOpener);
    m_page->setUrlRequestInterceptor(new RequestGuard(m_allowed, m_page));
    m_page->setBackgroundColor(Qt::white);
    m_view = new QWebEngineView(this);
    m_view->setPage(m_page);
    m_view->installEventFilter(this);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    m_view->setFocusPolicy(Qt::ClickFocus);
    m_view->setAccessibleName(accessibleName());
    setFocusProxy(m_view);
    m_stack->insertWidget(0, m_view);
    m_stack->setCurrentWidget(m_view);
    delete m_blank;
    m_blank = nullptr;

    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (ok) {
            m_crashesOnSamePage = 0;
            m_processDied = false;
            m_stallTimer->stop();
            m_stack->setCurrentWidget(m_view);
        }
        emit loadFinished(ok);
    });
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status != QWebEnginePage::NormalTerminationStatus)
                    renderProcessDied();
            });

    // What was asked before the engine was there: only the last request
    // counts, as it would have replaced the others.
    if (!m_lastFile.isEmpty())
        load(m_lastFile);
    else if (m_request > 0)
        setPromptHtml(m_lastPrompt);
}

PreviewView::~PreviewView() = default;

void PreviewView::setLinkOpener(LinkOpener opener)
{
    m_linkOpener = std::move(opener);
    if (m_page)
        m_page->setLinkOpener(m_linkOpener);
}

bool PreviewView::eventFilter(QObject *watched, QEvent *event)
{
    // The view renders into a child widget it creates itself; keep that one
    // out of the Tab chain too.
    if (watched == m_view && event->type() == QEvent::ChildAdded) {
        if (auto *child = qobject_cast<QWidget *>(static_cast<QChildEvent *>(event)->child()))
            child->setFocusPolicy(Qt::ClickFocus);
    }
    return QWidget::eventFilter(watched, event);
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
    // Every preview rewrites the same file: a new request is a new page
    // even when the path is the same.
    ++m_request;
    m_crashesOnSamePage = 0;
    m_lastFile = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    load(m_lastFile);
}

void PreviewView::load(const QUrl &url)
{
    if (!m_page)
        return; // startEngine() loads it
    watchForStall();
    m_page->load(url);
}

void PreviewView::setPromptHtml(const QString &text)
{
    if (!m_page)
        return; // startEngine() shows it
    watchForStall();
    m_page->expectPrompt();
    m_page->setHtml(text.toHtmlEscaped(), QUrl(QStringLiteral("about:blank")));
}

void PreviewView::watchForStall()
{
    if (m_processDied)
        m_stallTimer->start();
}

void PreviewView::renderProcessDied()
{
    // Show the page that was current when the process died again; if that
    // page kills the renderer a second time, show the prompt with the reason
    // instead of looping. A recovery that finds a newer request has nothing
    // to do: the newer page is on its way.
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
