#pragma once

#include "ContentForm.h"

class QTimer;

// The item editor `itemEditor`: the item's display name `nameField`, then
// one field per editable piece of its snippet, in the snippet's order
// (texts, picture and link addresses). A moment after typing stops it
// offers the snippet as edited for a preview.
class ItemEditor : public ContentForm
{
    Q_OBJECT
public:
    static constexpr int PreviewDelay = 300; // milliseconds after the last change

    // `name` is the item's display name; `pieces` may be empty.
    ItemEditor(const QString &name, ContentPieces pieces, const QStringList &samples, UserPrompts &prompts,
               QWidget *parent = nullptr);

    // After OK: the snippet with the fields' values, the original itself
    // when no field changed.
    const QString &editedSnippet() const { return m_edited; }
    // After OK: the name as the field holds it, the original itself when
    // unchanged.
    const QString &editedName() const { return m_editedName; }
    // The snippet as the fields stand, a refused address kept as it was.
    QString previewSnippet() const;

    void done(int result) override;

signals:
    void previewChanged(const QString &snippet);

protected:
    Result<> takeAnswer() override;

private:
    QStringList values() const;

    ContentPieces m_pieces;
    QString m_edited;
    QString m_editedName;
    QTimer *m_previewTimer;
};
