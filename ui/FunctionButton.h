#pragma once

#include <QAbstractButton>
#include <QColor>

// A function-list button: a flat white panel with a rounded border and its
// caption centred, light green while the mouse is over it.
class FunctionButton : public QAbstractButton
{
    Q_OBJECT
public:
    static const QColor HoverColour;  // RGB(192, 220, 192), the right column's colour
    static const QColor NormalColour; // white

    explicit FunctionButton(const QString &caption, QWidget *parent = nullptr);

    QColor colour() const { return m_colour; }
    QSize sizeHint() const override { return {80, 50}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void setColour(const QColor &colour);

    QColor m_colour = NormalColour;
};
