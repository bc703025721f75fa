#include "UserPrompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

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

QString UserPrompts::askOpenFile(const QString &caption, const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileName(m_owner, caption, folder, filter);
}

QString UserPrompts::askSaveFile(const QString &caption, const QString &suggested, const QString &filter,
                                 const QString &suffix)
{
    QFileDialog dialog(m_owner, caption, suggested, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

UserPrompts::SaveAnswer UserPrompts::askSaveChanges(const QString &question)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("提示信息"), QString(), QMessageBox::NoButton, m_owner);
    box.setTextFormat(Qt::PlainText);
    box.setText(question);
    QPushButton *save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
    QPushButton *discard = box.addButton(QStringLiteral("不保存"), QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return SaveAnswer::Save;
    if (box.clickedButton() == discard)
        return SaveAnswer::Discard;
    return SaveAnswer::Cancel;
}

bool UserPrompts::askYesNo(const QString &question, const QString &yes, const QString &no, bool yesIsDefault)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("提示信息"), QString(), QMessageBox::NoButton, m_owner);
    box.setTextFormat(Qt::PlainText);
    box.setText(question);
    QPushButton *yesButton = box.addButton(yes, QMessageBox::AcceptRole);
    QPushButton *noButton = box.addButton(no, QMessageBox::RejectRole);
    box.setDefaultButton(yesIsDefault ? yesButton : noButton);
    box.setEscapeButton(noButton);
    box.exec();
    return box.clickedButton() == yesButton;
}

QColor UserPrompts::pickColour()
{
    if (const std::optional<QColor> chosen = askColour(m_dialogColour); chosen && chosen->isValid())
        m_dialogColour = chosen->toRgb();
    return m_dialogColour;
}
