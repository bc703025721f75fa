#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

class QWebEngineView;
class PreviewPage;

// The web view `wb1` and everything that touches QtWebEngine. It shows a
// one-line prompt or a scratch file, and treats every page as untrusted:
// scripts are off, local pages cannot read other local files, new windows
// are refused, and the view navigates only to the scratch files (a link
// clicked in a preview opens in the desktop's browser).
class PreviewView : public QWidget
{
    Q_OBJECT
public:
    // `allowedFiles` are the only local files the view may load.
    PreviewView(const QStringList &allowedFiles, QWidget *parent = nullptr);
    ~PreviewView() override;

    void showPrompt(const QString &text);
    void showFile(const QString &path);

    QWebEngineView *view() const { return m_view; }
    // The last thing asked to show: a file URL, or empty for a prompt.
    QUrl lastFile() const { return m_lastFile; }

signals:
    void loadFinished(bool ok);
    // The render process died and the view recovered (or gave up).
    void recovered(bool reshown);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void renderProcessDied();

    QWebEngineView *m_view;
    PreviewPage *m_page;
    QUrl m_lastFile;
    QString m_lastPrompt;
    int m_crashesOnSamePage = 0;
};
