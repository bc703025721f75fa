#pragma once

#include <QHash>
#include <QPlainTextEdit>

// The custom section's code box. A pasted or dropped line longer than
// FoldLength characters is kept aside and shown folded, as one framed mark
// that gives its length: laying out one long line without blanks (minified
// markup) cost the window seconds per keystroke and minutes per paste.
// rawText() is, byte for byte, the text a plain paste would have left, and
// copying from the box gives folded lines whole. Typed text is never folded.
class CodeEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    static constexpr qsizetype FoldLength = 20000;

    explicit CodeEdit(QWidget *parent = nullptr);

    // The document's raw text (blocks joined by U+2029), folded lines
    // unfolded.
    QString rawText() const;

protected:
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    // The raw text between two document positions, folded lines unfolded.
    QString unfolded(int from, int to) const;

    QHash<int, QString> m_folds;
};
