#pragma once

#include "SectionFrame.h"

#include <QWidget>

#include <functional>

class CodeEdit;
class ColourEdit;
class QComboBox;
class QLineEdit;
class QPushButton;
class StyleGroup;
class UserPrompts;

// One section panel, built from its row of the section table: title, style
// group, Add and Cancel, and the inputs of the few sections that have them.
// It reads its widgets into SectionInputs, lets the SectionFrame decide, and
// shows what the frame decided.
class SectionPanel : public QWidget
{
    Q_OBJECT
public:
    SectionPanel(SectionFrame &frame, UserPrompts &prompts, std::function<QString()> pageWidth,
                 QWidget *parent = nullptr);

    SectionFrame &frame() { return m_frame; }
    StyleGroup *styleGroup() const { return m_group; }
    SectionInputs inputs() const;

    // Brings the widgets in line with the frame: visibility and style choice.
    void sync();

    // The actions, also reachable from the buttons.
    void clickStyle(int index);
    void clickBeside();
    void add();
    void cancel();

signals:
    // A preview file was written and should be shown.
    void previewWritten(const QString &file);
    // Add produced this entry for the end of the generated-items list.
    void addRequested(const GeneratedItem &item);

private:
    void buildRelatedSalesInputs();
    void buildDividerBarInputs();
    void buildCouponInputs();
    void buildCustomInputs();
    void chooseColour(ColourEdit *edit);
    void showOutcome(const ClickOutcome &outcome);

    SectionFrame &m_frame;
    UserPrompts &m_prompts;
    std::function<QString()> m_pageWidth;
    StyleGroup *m_group = nullptr;
    QComboBox *m_pictureWidth = nullptr;
    QLineEdit *m_pictureHeight = nullptr;
    QLineEdit *m_dividerName = nullptr;
    ColourEdit *m_colour = nullptr; // edt2 or edtyouhuiquancolor
    QLineEdit *m_customName = nullptr;
    CodeEdit *m_customCode = nullptr;
};
