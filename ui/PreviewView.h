#pragma once

#include "PreviewEngine.h"

#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QStackedLayout;
class QTimer;
class QWebEngineView;
namespace PreviewEngine {
class Engine;
using Factory = Engine *(*)(const struct Setup &setup);
} // namespace PreviewEngine
template<typename T>
class Result;

// The web view `wb1`. It shows a one-line prompt or a scratch file through
// the web engine module (PreviewEngine), which treats every page as
// untrusted.
//
// The web engine starts only once the window is on the screen: until then
// the view is a blank page of the same size, and it keeps the last thing
// asked of it to show as soon as the engine is there. If the module cannot
// be loaded, the view says so and the rest of the window works on.
//
// In the phone look the engine's view is a phone's screen, 375 by 667
// pixels centred on grey, and every page is laid out at the shop type's page
// width and scaled to the screen's width, as a phone shows a description.
// Only the view's zoom and size change: the pages are the same.
class PreviewView : public QWidget
{
    Q_OBJECT
public:
    using LinkOpener = std::function<void(const QUrl &)>;

    // `allowedFiles` are the only local files the view may load.
    PreviewView(const QStringList &allowedFiles, QWidget *parent = nullptr);
    ~PreviewView() override;

    // Starts loading the web engine's module, with its libraries and the
    // OpenGL driver, on a thread of its own once the window is on the
    // screen; the first view takes the engine from there once its window
    // has painted. Without it that view loads the module itself, then.
    // Once, after the application object exists.
    static void preloadEngine();

    void showPrompt(const QString &text);
    void showFile(const QString &path);
    // The file from its top. showFile() shows every new page of the same
    // file where the last one was scrolled to, as the engine reloads a page.
    void showFileFromTop(const QString &path);
    // The whole page: once it has loaded, pageLaidOut() tells what the
    // engine made of it.
    void showPage(const QString &path);

    // The phone look, on or off; what is shown is shown again at once.
    void setPhoneLook(bool on);
    bool phoneLook() const { return m_phone; }
    // The page width the phone look scales from, read at every page shown.
    void setPageWidthSource(std::function<int()> width) { m_pageWidth = std::move(width); }

    // Where clicked http(s) links go; the desktop's browser by default.
    void setLinkOpener(LinkOpener opener);

    // Null until the engine has started, just after the window's first paint.
    QWebEngineView *view() const;
    // The last thing asked to show: a file URL, or empty for a prompt.
    QUrl lastFile() const { return m_lastFile; }

signals:
    void loadFinished(bool ok);
    // The render process died and the view recovered (or gave up).
    void recovered(bool reshown);
    // What the engine laid out of the page of the last showPage().
    void pageLaidOut(const PreviewEngine::PageFacts &facts);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void startEngine();
    void createEngine(const Result<PreviewEngine::Factory> &create);
    void showUrl(const QUrl &url);
    void load(const QUrl &url);
    void setPromptHtml(const QString &text);
    void renderProcessDied();
    void watchForStall();
    // The zoom for what is shown: a file's in the phone look, else none.
    void applyZoom(bool file);

    const QList<QUrl> m_allowed;
    LinkOpener m_linkOpener;
    std::unique_ptr<PreviewEngine::Engine> m_engine;
    // Embeds the engine's window, on the stage that frames it as a phone.
    QWidget *m_surface = nullptr;
    class Stage;
    Stage *m_stage = nullptr;
    QStackedLayout *m_stack;
    QWidget *m_blank;
    QLabel *m_engineNotice;
    QTimer *m_stallTimer;
    bool m_engineQueued = false;
    QUrl m_lastFile;
    QString m_lastPrompt;
    // Counts every request to show something, so a recovery queued for an
    // older page never overrides a newer one.
    quint64 m_request = 0;
    int m_crashesOnSamePage = 0;
    bool m_processDied = false;
    // The request whose page is read once it has loaded (showPage).
    quint64 m_pageRequest = 0;
    bool m_phone = false;
    std::function<int()> m_pageWidth;
    // What the engine was last told: zoom and scroll bars.
    double m_zoom = 1;
    bool m_scrollBars = true;
    // The zoom waits for the engine's window to take the look's size.
    bool m_zoomOnResize = false;
};
