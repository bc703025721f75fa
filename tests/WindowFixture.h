#pragma once

// The main window over a scratch folder of its own, for the tests that
// drive the real window: shown, waited for, its widgets found by name.

#include "FunctionButton.h"
#include "ItemListPanel.h"
#include "MainWindow.h"
#include "PreviewView.h"
#include "RecordingPrompts.h"
#include "SectionPanel.h"
#include "StyleGroup.h"
#include "Workspace.h"

#include <QEventLoop>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

// Runs the event loop until `done` holds or the time is up, without the
// sleeps of QTest::qWaitFor that slow the web engine's page loads down.
template<typename Predicate>
bool waitUntil(Predicate done, int timeout = 60000)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeout, &loop, &QEventLoop::quit);
    poll.start(5);
    loop.exec();
    return done();
}

struct WindowFixture
{
    // The scratch files go to `folder` inside a fresh temporary folder; with
    // `realPrompts` the window shows its own message boxes.
    explicit WindowFixture(bool realPrompts = false, const QString &folder = QStringLiteral("scratch"))
        : ws(std::make_unique<ScratchFiles>(tmp.filePath(folder), std::make_unique<SaveFileWriter>()))
        , window(ws, realPrompts ? nullptr : &prompts)
        , loads(window.preview(), &PreviewView::loadFinished)
    {
    }

    // Shows and activates the window and waits for the start prompt.
    bool start()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window, 60000) && waitUntil([&] { return !loads.isEmpty(); });
    }

    template<typename T = QWidget>
    T *find(const QString &name) const
    {
        return window.findChild<T *>(name);
    }

    // Clicks style `index` of a section on its round mark.
    void clickStyle(int number, int index)
    {
        QRadioButton *item = window.panel(number)->styleGroup()->item(index);
        QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(6, item->height() / 2));
    }

    QTemporaryDir tmp;
    RecordingPrompts prompts;
    Workspace ws;
    MainWindow window;
    QSignalSpy loads;
};
