#include "UserPrompts.h"

#include <QColorDialog>
#include <QMessageBox>

UserPrompts::UserPrompts(QWidget *owner)
    : m_owner(owner)
{
}

UserPrompts::~UserPrompts() = default;

void UserPrompts::notice(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("提示信息"), text, QMessageBox::Ok, m_owner);
    box.exec();
}

void UserPrompts::error(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Zanfor描述排版器"), text, QMessageBox::Ok, m_owner);
    box.exec();
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
