#pragma once

#include <QMargins>
#include <QObject>
#include <QSize>

class QWidget;

// Opens a dialog that drives the preview clear of the web view's top band
// (fitDialog), at the size the seller last gave a dialog of its name, kept
// in the settings. It places the dialog before it is shown, and again when
// the window system reports a frame other than the one assumed; a move or
// a resize of the seller's own is left as it is.
class DialogFit : public QObject
{
public:
    // The dialog's size at this moment is the one it wants when the seller
    // has given none; `view` is the web view it must leave in sight.
    DialogFit(QWidget *dialog, const QWidget *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    QWidget *m_dialog;
    const QWidget *m_view;
    QSize m_wanted;
    QMargins m_frame;
    QSize m_given;
};
