#include "PhoneToggle.h"

#include "PreviewView.h"
#include "UserSettings.h"
#include "WindowShortcuts.h"

#include <QAction>
#include <QPushButton>

namespace {

QString settingsKey()
{
    return QStringLiteral("phonePreview");
}

} // namespace

QPushButton *PhoneToggle::add(QWidget *column, QWidget *window, PreviewView &view)
{
    auto *button = new QPushButton(QStringLiteral("手机"), column);
    button->setObjectName(QStringLiteral("phoneButton"));
    button->setCheckable(true);
    button->setToolTip(QStringLiteral("像买家的手机那样显示预览（Ctrl+M）"));
    // Below 打开, as far from it as the column's groups are apart.
    button->setGeometry(8, 345, 46, 25);
    column->setMinimumHeight(qMax(column->minimumHeight(), button->geometry().bottom() + 1 + 6));

    const bool on = userSettings().value(settingsKey(), false).toBool();
    button->setChecked(on);
    view.setPhoneLook(on);
    QObject::connect(button, &QPushButton::toggled, &view, [&view](bool checked) {
        view.setPhoneLook(checked);
        userSettings().setValue(settingsKey(), checked);
    });

    auto *key = new QAction(button->text(), window);
    key->setShortcut(Qt::CTRL | Qt::Key_M);
    QObject::connect(key, &QAction::triggered, button, &QPushButton::click);
    window->addAction(key);
    (new WindowShortcuts(window))->add(key);
    return button;
}
