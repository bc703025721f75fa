#pragma once

#include <QLineEdit>

// A colour edit: a double click (or F4, or Alt+Down) asks for the colour
// chooser; the edit's background shows the chosen colour.
class ColourEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit ColourEdit(const QString &text, QWidget *parent = nullptr);

    void setBackground(const QColor &colour);
    QColor background() const;

signals:
    void chooserRequested();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
