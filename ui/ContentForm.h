#pragma once

#include "ContentPieces.h"
#include "Result.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <vector>

class QFormLayout;
class QLabel;
class QScrollArea;
class UserPrompts;

// What the two content dialogs share: labelled fields in a scroll area, a
// mark on each address that is unsafe (不安全: a scheme that would be
// refused) or still holds sample content (待替换), OK and Cancel. OK
// closes the dialog only once every changed address is acceptable and the
// dialog has taken its answer; otherwise a message names the field, the
// dialog stays open and nothing is applied.
class ContentForm : public QDialog
{
    Q_OBJECT
public:
    int fieldCount() const { return int(m_fields.size()); }
    // Whether field i holds something other than what it was opened with.
    bool isChanged(int i) const;
    // Exactly the value the field was opened with while it is unchanged,
    // whatever the widget made of it; else the text as typed, line breaks
    // as LF.
    QString value(int i) const;

    void accept() override;

    // The field that has the focus, in sight, once the dialog is shown.
    void setStartField(int i) { m_startField = i; }

signals:
    // Any field's text changed.
    void fieldEdited();

protected:
    // Fields are named `fieldPrefix` followed by their number from 0 (fields
    // of their own name are not counted);
    // `samples` are the addresses that count as still to replace.
    ContentForm(const QString &name, const QString &caption, const QString &intro, const QString &fieldPrefix,
                const QStringList &samples, UserPrompts &prompts, QWidget *parent);

    // The next field, called `name` in messages and labelled `name` followed
    // by `detail`; one holding a line break gets a box of several lines.
    void addField(PieceKind kind, const QString &name, const QString &detail, const QString &value);
    // A text field named `objectName` rather than numbered; OK refuses a
    // changed value that `check` fails.
    void addCheckedField(const QString &objectName, const QString &name, const QString &value,
                         std::function<Result<>(const QString &)> check);
    // Sizes the dialog to its fields, no higher than most of the screen.
    void finish();

    // Called by OK once the addresses are acceptable: keep the answer, or
    // fail with the message to show.
    virtual Result<> takeAnswer() = 0;

    void showEvent(QShowEvent *event) override;

private:
    struct Field
    {
        PieceKind kind;
        QString name;
        QString value;
        QString shown; // what the widget held right after it was filled
        QWidget *widget;
        QLabel *mark;
        std::function<Result<>(const QString &)> check; // for a text; addresses are checked as such
    };
    void addRow(PieceKind kind, const QString &objectName, const QString &name, const QString &detail,
                const QString &value, std::function<Result<>(const QString &)> check);
    QString widgetText(const Field &field) const;
    void updateMark(Field &field);
    void refuse(int i, const QString &message);
    void focusField(int i);

    QString m_fieldPrefix;
    QStringList m_samples;
    UserPrompts &m_prompts;
    QScrollArea *m_scroll;
    QFormLayout *m_form;
    std::vector<Field> m_fields;
    int m_numbered = 0;
    int m_startField = -1;
};
