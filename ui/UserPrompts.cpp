#include "UserPrompts.h"

#include <QColorDialog>
#include <QMessageBox>

UserPrompts::UserPrompts(QWidget *owner)
    : m_owner(owner)
{
}

UserPrompts::~UserPrompts() = default;

namespace {

// Texts shown in a box carry what the user typed and what the system said
// (file names, reasons): always plain text, never markup. A label left to
// guess would render "<img src=...>" and load that picture, from a pipe or
// /dev/zero included, and block the window.
void showBox(QMessageBox::Icon icon, const QString &caption, const QString &text, QWidget *owner)
{
    QMessageBox box(icon, caption, QString(), QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.exec();
}

} // namespace

void UserPrompts::notice(const QString &text)
{
    showBox(QMessageBox::NoIcon, QStringLiteral("提示信息"), text, m_owner);
}

void UserPrompts::error(const QString &text)
{
    showBox(QMessageBox::Critical, QStringLiteral("Zanfor描述排版器"), text, m_owner);
}

std::optional<QColor> UserPrompts::askColour(const QColor &preselected)
{
    QColorDialog dialog(preselected, m_owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

QColor UserPrompts::pickColour()
{
    if (const std::optional<QColor> chosen = askColour(m_dialogColour); chosen && chosen->isValid())
        m_dialogColour = chosen->toRgb();
    return m_dialogColour;
}
