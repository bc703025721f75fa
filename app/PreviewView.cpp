#include "PreviewView.h"

#include "ScratchPlatform.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

namespace {

bool isRemote(const QUrl &url)
{
    return url.scheme() == u"http" || url.scheme() == u"https";
}

// Blocks every request for a local resource but the scratch files, so a
// preview cannot show <img src="file:///..."> or <iframe src="file:///...">.
class LocalFileGuard : public QWebEngineUrlRequestInterceptor
{
public:
    LocalFileGuard(const QStringList &allowed, QObject *parent)
        : QWebEngineUrlRequestInterceptor(parent)
    {
        for (const QString &file : allowed)
            m_allowed.append(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    }

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        const QUrl url = info.requestUrl();
        const bool allowed = isRemote(url) || url.scheme() == u"data" || url.scheme() == u"about"
            || m_allowed.contains(url.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment));
        if (!allowed)
            info.block(true);
    }

private:
    QList<QUrl> m_allowed;
};

} // namespace

class PreviewPage : public QWebEnginePage
{
public:
    PreviewPage(QWebEngineProfile *profile, const QStringList &allowed, QObject *parent)
        : QWebEnginePage(profile, parent)
    {
        for (const QString &file : allowed)
            m_allowed.append(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    }

    void expectPrompt() { m_promptPending = true; }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override
    {
        if (!isMainFrame)
            return isRemote(url) || url.scheme() == u"about" || url.scheme() == u"data";
        if (type == NavigationTypeLinkClicked) {
            if (isRemote(url))
                QDesktopServices::openUrl(url);
            return false;
        }
        // The prompt is our own setHtml; any other data: page is refused.
        if (url.scheme() == u"data") {
            const bool ours = m_promptPending;
            m_promptPending = false;
            return ours;
        }
        return m_allowed.contains(url.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment));
    }

    QWebEnginePage *createWindow(WebWindowType) override { return nullptr; }

private:
    QList<QUrl> m_allowed;
    bool m_promptPending = false;
};

static QWebEngineProfile *previewProfile()
{
    // One off-the-record profile for the life of the program, configured once.
    static QWebEngineProfile *profile = [] {
        auto *p = new QWebEngineProfile(QCoreApplication::instance());
        p->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        p->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        QWebEngineSettings *s = p->settings();
        s->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
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
    , m_view(new QWebEngineView(this))
    , m_page(new PreviewPage(previewProfile(), allowedFiles, this))
{
    m_page->setUrlRequestInterceptor(new LocalFileGuard(allowedFiles, m_page));
    m_view->setPage(m_page);
    m_view->installEventFilter(this);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    m_page->setBackgroundColor(Qt::white);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    // Tab passes the preview by: web content would keep the focus inside
    // its links. A click still gives it the focus for scrolling.
    m_view->setFocusPolicy(Qt::ClickFocus);
    setFocusPolicy(Qt::ClickFocus);
    setFocusProxy(m_view);
    setAccessibleName(QStringLiteral("预览"));
    m_view->setAccessibleName(accessibleName());

    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (ok)
            m_crashesOnSamePage = 0;
        emit loadFinished(ok);
    });
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status != QWebEnginePage::NormalTerminationStatus)
                    renderProcessDied();
            });
}

PreviewView::~PreviewView() = default;

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
    m_lastFile.clear();
    m_lastPrompt = text;
    m_page->expectPrompt();
    m_page->setHtml(text.toHtmlEscaped(), QUrl(QStringLiteral("about:blank")));
}

void PreviewView::showFile(const QString &path)
{
    const QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (url != m_lastFile)
        m_crashesOnSamePage = 0;
    m_lastFile = url;
    m_page->load(url);
}

void PreviewView::renderProcessDied()
{
    // Show the last preview again; if that page kills the renderer a second
    // time, show the prompt with the reason instead of looping.
    ++m_crashesOnSamePage;
    const bool retry = !m_lastFile.isEmpty() && m_crashesOnSamePage < 2;
    QTimer::singleShot(0, this, [this, retry] {
        if (retry) {
            m_page->load(m_lastFile);
        } else {
            const QString prompt = m_lastFile.isEmpty() ? m_lastPrompt
                                                        : QStringLiteral("预览页面无法显示：浏览器进程意外退出。");
            m_lastFile.clear();
            m_page->expectPrompt();
            m_page->setHtml(prompt.toHtmlEscaped(), QUrl(QStringLiteral("about:blank")));
        }
        emit recovered(retry);
    });
}
