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
