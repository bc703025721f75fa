#include "PreviewEngine.h"
#include "SamplePicture.h"

#include <QBuffer>
#include <QChildEvent>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QPointer>
#include <QQuickWindow>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

// The preview's web engine: one view in a window of its own, and every
// defence an untrusted page meets. Scripts are off, local pages cannot read
// other local files, new windows are refused, and the view navigates only
// to the scratch files. Pictures and other subresources from http(s) load;
// an http(s) link clicked in a preview opens in the desktop's browser,
// whatever its target. The sample pictures are drawn by the program
// (SamplePicture), never fetched.
namespace {

using LinkOpener = std::function<void(const QUrl &)>;

// The scheme the sample pictures are served under inside the program.
const QByteArray SampleScheme = QByteArrayLiteral("zanfor-sample");

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

// Reads the page as laid out, in the program's own world: the smallest
// computed font size of any text that takes room on the screen, and the
// pictures that did not load. It calls nothing the page could define and
// reads DOM properties only.
const QString InspectScript = QStringLiteral(R"((function () {
    var smallest = -1, text = '', failed = 0, addresses = [];
    var root = document.body || document.documentElement;
    if (root) {
        var walker = document.createTreeWalker(root, NodeFilter.SHOW_TEXT);
        var range = document.createRange();
        for (var node = walker.nextNode(); node; node = walker.nextNode()) {
            var element = node.parentElement;
            if (!element || !/\S/.test(node.data))
                continue;
            var style = getComputedStyle(element);
            var size = parseFloat(style.fontSize);
            if (!(size > 0) || (smallest >= 0 && size >= smallest) || style.visibility !== 'visible')
                continue;
            range.selectNodeContents(node);
            var rects = range.getClientRects();
            var shown = false;
            for (var i = 0; i < rects.length && !shown; ++i)
                shown = rects[i].width > 0 && rects[i].height > 0;
            if (shown) {
                smallest = size;
                text = node.data.replace(/\s+/g, ' ').trim().slice(0, 40);
            }
        }
    }
    var images = document.images;
    for (var j = 0; j < images.length; ++j) {
        if (images[j].complete && images[j].naturalWidth === 0) {
            ++failed;
            if (addresses.length < 10)
                addresses.push(images[j].getAttribute('src') || '');
        }
    }
    return {smallestFontPx: smallest, smallestText: text, failedPictures: failed, failedAddresses: addresses};
})())");

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
    LinkCatcher(QWebEngineProfile *profile, const LinkOpener &open, QObject *parent)
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
    const LinkOpener &m_open;
};

class PreviewPage : public QWebEnginePage
{
public:
    PreviewPage(QWebEngineProfile *profile, const QList<QUrl> &allowed, LinkOpener open, QObject *parent)
        : QWebEnginePage(profile, parent)
        , m_allowed(allowed)
        , m_open(std::move(open))
    {
    }

    void expectPrompt() { m_promptPending = true; }
    void setLinkOpener(LinkOpener open) { m_open = std::move(open); }

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
    LinkOpener m_open;
    QPointer<LinkCatcher> m_catcher;
    bool m_promptPending = false;
};

QWebEngineProfile *previewProfile(const QString &textEncoding)
{
    // One off-the-record profile for the life of the program, configured once.
    static QWebEngineProfile *profile = [&textEncoding] {
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
        s->setDefaultTextEncoding(textEncoding);
        return p;
    }();
    return profile;
}

class WebEngine
    : public PreviewEngine::Engine
    , public QObject
{
public:
    explicit WebEngine(const PreviewEngine::Setup &setup)
        : m_window(new QWidget)
    {
        m_page = new PreviewPage(previewProfile(setup.textEncoding), setup.allowedFiles, setup.openLink, m_window);
        m_page->setUrlRequestInterceptor(new RequestGuard(setup.allowedFiles, m_page));
        m_page->setBackgroundColor(Qt::white);
        m_view = new QWebEngineView(m_window);
        m_view->setPage(m_page);
        m_view->installEventFilter(this);
        m_view->setContextMenuPolicy(Qt::NoContextMenu);
        m_view->setFocusPolicy(Qt::ClickFocus);
        m_view->setAccessibleName(QStringLiteral("预览"));
        auto *layout = new QVBoxLayout(m_window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_view);
        // The window is made now, for the embedding to take as it is, at
        // any size but none: a window made at no size is never shown.
        m_window->resize(640, 480);
        m_window->winId();

        QObject::connect(m_page, &QWebEnginePage::loadFinished, m_page, setup.loadFinished);
        QObject::connect(m_page, &QWebEnginePage::renderProcessTerminated, m_page,
                         [died = setup.renderProcessDied](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                             if (status != QWebEnginePage::NormalTerminationStatus)
                                 died();
                         });
    }

    ~WebEngine() override { delete m_window; }

    QWidget *window() override { return m_window; }
    QWebEngineView *view() override { return m_view; }

    void load(const QUrl &url) override { m_page->load(url); }

    void showText(const QString &text) override
    {
        m_page->expectPrompt();
        m_page->setHtml(text.toHtmlEscaped(), QUrl(QStringLiteral("about:blank")));
    }

    void setLinkOpener(LinkOpener open) override { m_page->setLinkOpener(std::move(open)); }

    void setZoom(double zoom, bool scrollBars) override
    {
        m_page->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, scrollBars);
        m_page->setZoomFactor(zoom);
    }

    void inspectPage(std::function<void(const PreviewEngine::PageFacts &)> done) override
    {
        m_page->runJavaScript(InspectScript, QWebEngineScript::ApplicationWorld,
                              [done = std::move(done)](const QVariant &result) {
                                  // A page that went away first answers nothing.
                                  if (result.typeId() != QMetaType::QVariantMap)
                                      return;
                                  const QVariantMap read = result.toMap();
                                  PreviewEngine::PageFacts facts;
                                  facts.smallestFontPx = read.value(QStringLiteral("smallestFontPx")).toDouble();
                                  facts.smallestText = read.value(QStringLiteral("smallestText")).toString();
                                  facts.failedPictures = read.value(QStringLiteral("failedPictures")).toInt();
                                  facts.failedAddresses = read.value(QStringLiteral("failedAddresses")).toStringList();
                                  done(facts);
                              });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The view renders into a child widget it creates itself; keep that
        // one out of the Tab chain too.
        if (watched == m_view && event->type() == QEvent::ChildAdded) {
            if (auto *child = qobject_cast<QWidget *>(static_cast<QChildEvent *>(event)->child()))
                child->setFocusPolicy(Qt::ClickFocus);
        }
        return false;
    }

private:
    QWidget *m_window;
    QWebEngineView *m_view;
    PreviewPage *m_page;
};

} // namespace

extern "C" Q_DECL_EXPORT PreviewEngine::Engine *zanforCreatePreviewEngine(const PreviewEngine::Setup &setup)
{
    // The view draws in software, set before the engine or any view exists
    // to ask how. A preview is a still page with its scripts off: drawing
    // it through OpenGL gains nothing, and would cost the start the
    // compiling of the drawing's shaders on the GUI thread, a tenth of a
    // second with a software OpenGL driver.
    // The engine then prints its settings at every start, as it does for
    // any way of drawing but its own default; QT_LOGGING_RULES still shows
    // them.
    static const bool software = [] {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
        return true;
    }();
    Q_UNUSED(software);
    return new WebEngine(setup);
}
