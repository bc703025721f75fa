#pragma once

#include <QColor>
#include <QString>

#include <optional>

class QWidget;

// The modal dialogs the program shows, owned by the main window. Tests
// replace the virtual functions to answer them without a person.
class UserPrompts
{
public:
    explicit UserPrompts(QWidget *owner = nullptr);
    virtual ~UserPrompts();

    void setOwner(QWidget *owner) { m_owner = owner; }

    // "提示信息", one OK button, no icon.
    virtual void notice(const QString &text);
    // The standard error box: "Zanfor描述排版器", critical icon, one OK button.
    virtual void error(const QString &text);
    // The colour chooser with `preselected` marked; nothing when dismissed.
    virtual std::optional<QColor> askColour(const QColor &preselected);

    // The system's file dialogs. Each returns the chosen path, or an empty
    // text when dismissed. `filter` is in QFileDialog's form ("布局文件
    // (*.zlayout)"); a name typed without an extension gets `suffix`, and
    // an existing file is replaced only after the dialog's own question.
    virtual QString askOpenFile(const QString &caption, const QString &folder, const QString &filter);
    virtual QString askSaveFile(const QString &caption, const QString &suggested, const QString &filter,
                                const QString &suffix);

    enum class SaveAnswer { Save, Discard, Cancel };
    // "提示信息" with 保存, 不保存 and 取消; Escape and the box's close
    // button cancel.
    virtual SaveAnswer askSaveChanges(const QString &question);

    // "提示信息" with two buttons, `yes` and `no`; true for `yes`. The
    // default button is the one named by `yesIsDefault`; Escape and the
    // box's close button answer `no`.
    virtual bool askYesNo(const QString &question, const QString &yes, const QString &no, bool yesIsDefault);

    // The one colour dialog both colour edits share: opens it with the
    // current colour, keeps a confirmed colour as the new current colour,
    // and returns the current colour whether or not the user confirmed.
    QColor pickColour();

protected:
    QWidget *owner() const { return m_owner; }

private:
    QWidget *m_owner;
    QColor m_dialogColour = Qt::black;
};
