#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QWebEngineView;
class QWidget;

// The web engine behind the preview, in a module of its own
// (zanfor-preview) that the program loads only once its window is on the
// screen: linking QtWebEngine, or making the OpenGL context it needs, would
// hold the window back by a few hundred milliseconds.
//
// The engine's view lives in a window of its own, which PreviewView embeds,
// and draws in software. A view drawn through OpenGL and placed straight
// into the main window would have the main window made anew for OpenGL,
// and the window would vanish from the screen meanwhile.
//
// Everything here is plain C++ shared by the program and the module: no
// signal, no meta-object, nothing the module would have to link back to.
namespace PreviewEngine {

// What the engine laid out of the page it shows, read by a script of the
// program's own in a world of its own: the page's scripts stay off, and
// nothing of the page reaches that world.
struct PageFacts
{
    // The smallest computed font size of any visible text, in CSS pixels;
    // below zero when the page shows no text.
    double smallestFontPx = -1;
    // That text, its blanks collapsed, cut to 40 characters.
    QString smallestText;
    // The <img> whose loading ended without a picture, and the src of the
    // first ten as written.
    int failedPictures = 0;
    QStringList failedAddresses;
};

struct Setup
{
    // The only local files the view may load (file URLs).
    QList<QUrl> allowedFiles;
    // The encoding the scratch files are written in.
    QString textEncoding;
    // Where clicked http(s) links go.
    std::function<void(const QUrl &)> openLink;
    // A load finished, well or not.
    std::function<void(bool ok)> loadFinished;
    // The render process ended abnormally.
    std::function<void()> renderProcessDied;
};

class Engine
{
public:
    virtual ~Engine() = default;

    // The window holding the view, to be embedded; the engine owns it.
    virtual QWidget *window() = 0;
    virtual QWebEngineView *view() = 0;

    virtual void load(const QUrl &url) = 0;
    // Shows `text` as a page of plain text (our own, never a file).
    virtual void showText(const QString &text) = 0;
    virtual void setLinkOpener(std::function<void(const QUrl &)> open) = 0;
    // Lays out the page shown, and every page after it, at `zoom` times its
    // size (1: as it is); `scrollBars` false hides them, as a phone does,
    // so they take no width from the page.
    virtual void setZoom(double zoom, bool scrollBars) = 0;
    // Reads the page shown as the engine laid it out; `done` follows on the
    // GUI thread, unless the page is gone first.
    virtual void inspectPage(std::function<void(const PageFacts &)> done) = 0;
};

// The module's one entry point, looked up by this name.
using Factory = Engine *(*)(const Setup &setup);
inline constexpr char FactoryName[] = "zanforCreatePreviewEngine";

} // namespace PreviewEngine
