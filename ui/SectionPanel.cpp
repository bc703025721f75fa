#include "SectionPanel.h"

#include "CodeEdit.h"
#include "ColourEdit.h"
#include "Generators.h"
#include "OneLineEdit.h"
#include "StyleGroup.h"
#include "UserPrompts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QLabel *label(const QString &name, const QString &text, QPoint pos, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->move(pos);
    l->adjustSize();
    return l;
}

template<typename W>
W *place(W *widget, const QString &name, const QRect &rect)
{
    widget->setObjectName(name);
    widget->setGeometry(rect);
    return widget;
}

// The classic system colours the panels were designed with: button face,
// 3-D light, button shadow and application workspace.
QColor panelColour(PanelColour colour, const QPalette &palette)
{
    switch (colour) {
    case PanelColour::Light3D:
        return QColor(227, 227, 227);
    case PanelColour::ButtonShadow:
        return QColor(160, 160, 160);
    case PanelColour::AppWorkspace:
        return QColor(171, 171, 171);
    case PanelColour::ButtonFace:
        break;
    }
    return palette.color(QPalette::Button);
}

} // namespace

SectionPanel::SectionPanel(SectionFrame &frame, UserPrompts &prompts, std::function<QString()> pageWidth,
                           QWidget *parent)
    : QWidget(parent)
    , m_frame(frame)
    , m_prompts(prompts)
    , m_pageWidth(std::move(pageWidth))
{
    const SectionInfo &info = frame.info();
    setObjectName(info.panelName());
    setFixedHeight(info.panelHeight);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, panelColour(info.colour, p));
    setPalette(p);
    // Screen readers announce the panel by its title.
    setAccessibleName(info.title.isEmpty() ? info.buttonCaption : info.title);

    if (!info.titleName.isEmpty())
        label(info.titleName, info.titleText.isEmpty() ? info.title : info.titleText, info.titlePos, this);

    switch (info.extras) {
    case PanelExtras::RelatedSales:
        buildRelatedSalesInputs();
        break;
    case PanelExtras::DividerBar:
        buildDividerBarInputs();
        break;
    case PanelExtras::Coupon:
        buildCouponInputs();
        break;
    case PanelExtras::Custom:
        buildCustomInputs();
        break;
    case PanelExtras::None:
        break;
    }

    if (!info.styles.isEmpty()) {
        m_group = place(new StyleGroup(info.styles, info.columns, info.itemHeight, this), info.groupName,
                        info.groupRect);
        m_group->setAccessibleName(info.title.isEmpty() ? info.buttonCaption : info.title);
        for (int i = 0; i < m_group->count(); ++i)
            m_group->item(i)->setAccessibleName(m_group->accessibleName() + u' ' + info.styles.at(i).trimmed());
        connect(m_group, &StyleGroup::itemClicked, this, &SectionPanel::clickStyle);
        connect(m_group, &StyleGroup::clickedBeside, this, &SectionPanel::clickBeside);
    }

    auto *addButton = place(new QPushButton(QStringLiteral("添加"), this), info.addName, info.addRect);
    auto *cancelButton = place(new QPushButton(QStringLiteral("取消"), this), info.cancelName, info.cancelRect);
    addButton->setAccessibleName(accessibleName() + QStringLiteral(" 添加"));
    cancelButton->setAccessibleName(accessibleName() + QStringLiteral(" 取消"));
    connect(addButton, &QPushButton::clicked, this, &SectionPanel::add);
    connect(cancelButton, &QPushButton::clicked, this, &SectionPanel::cancel);

    // Every one-line field, the editable combo box's included.
    for (QLineEdit *edit : findChildren<QLineEdit *>()) {
        keepOneLine(edit, [this] {
            m_prompts.notice(
                QStringLiteral("文字过长：一个输入框最多 %1 个字符，这次输入未被接受。").arg(OneLineMaxLength));
        });
    }

    sync();
}

void SectionPanel::buildRelatedSalesInputs()
{
    auto *box = place(new QGroupBox(this), QStringLiteral("rzgrpbx1"), {21, 48, 206, 41});
    label(QStringLiteral("lbl12"), QStringLiteral("图片宽度:"), {16, 18}, box);
    m_pictureWidth = place(new QComboBox(box), QStringLiteral("cbb1"), {72, 14, 45, 21});
    m_pictureWidth->setEditable(true);
    // The width stays as typed: no completion from the list ("19" is not
    // "190"), and Enter does not add what was typed to the two items.
    m_pictureWidth->setCompleter(nullptr);
    m_pictureWidth->setInsertPolicy(QComboBox::NoInsert);
    m_pictureWidth->addItems({PanelDefaults::PictureWidth, PanelDefaults::OtherPictureWidth});
    m_pictureWidth->setEditText(PanelDefaults::PictureWidth);
    m_pictureWidth->setAccessibleName(QStringLiteral("图片宽度"));
    label(QStringLiteral("lbl7"), QStringLiteral("高度："), {121, 18}, box);
    m_pictureHeight = place(new QLineEdit(PanelDefaults::PictureHeight, box), QStringLiteral("edt6"),
                            {156, 14, 37, 21});
    m_pictureHeight->setAccessibleName(QStringLiteral("高度"));

    // Any change of either text clears the style choice and nothing else:
    // the snippet is rebuilt only by the next style click.
    const auto clear = [this] {
        m_frame.clearChoice();
        sync();
    };
    connect(m_pictureWidth, &QComboBox::editTextChanged, this, clear);
    connect(m_pictureHeight, &QLineEdit::textChanged, this, clear);
}

void SectionPanel::buildDividerBarInputs()
{
    auto *names = label(QStringLiteral("lbl4"), QStringLiteral("标签名：\n\n颜色值："), {32, 23}, this);
    names->setGeometry(32, 20, 52, 47);
    names->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_dividerName = place(new QLineEdit(PanelDefaults::DividerName, this), QStringLiteral("edtname02"),
                          {85, 20, 133, 21});
    m_dividerName->setAccessibleName(QStringLiteral("标签名"));
    m_colour = place(new ColourEdit(PanelDefaults::Colour, this), QStringLiteral("edt2"), {85, 46, 36, 21});
    m_colour->setBackground(Qt::black);
    QPalette p = m_colour->palette();
    p.setColor(QPalette::Text, Qt::white);
    m_colour->setPalette(p);
    m_colour->setAccessibleName(QStringLiteral("颜色值"));
    connect(m_colour, &ColourEdit::chooserRequested, this, [this] { chooseColour(m_colour); });
}

void SectionPanel::buildCouponInputs()
{
    label(QStringLiteral("lbl8"), QStringLiteral("颜色："), {144, 44}, this);
    m_colour = place(new ColourEdit(PanelDefaults::Colour, this), QStringLiteral("edtyouhuiquancolor"),
                     {179, 40, 49, 21});
    m_colour->setBackground(palette().color(QPalette::WindowText));
    m_colour->setAccessibleName(QStringLiteral("优惠券颜色"));
    connect(m_colour, &ColourEdit::chooserRequested, this, [this] { chooseColour(m_colour); });
}

void SectionPanel::buildCustomInputs()
{
    m_customName = place(new QLineEdit(PanelDefaults::CustomName, this), QStringLiteral("edt10"), {81, 14, 117, 21});
    m_customName->setAccessibleName(QStringLiteral("自定义名"));
    m_customCode = place(new CodeEdit(this), QStringLiteral("mmo10"), {16, 40, 217, 145});
    m_customCode->setAccessibleName(QStringLiteral("自定义代码"));
    m_customCode->setTabChangesFocus(true);
}

SectionInputs SectionPanel::inputs() const
{
    SectionInputs in;
    if (m_pageWidth)
        in.pageWidth = m_pageWidth();
    if (m_pictureWidth)
        in.widthText = m_pictureWidth->currentText();
    if (m_pictureHeight)
        in.heightText = m_pictureHeight->text();
    if (m_colour)
        in.colour = m_colour->text();
    if (m_dividerName)
        in.name = m_dividerName->text();
    if (m_customName)
        in.name = m_customName->text();
    return in;
}

void SectionPanel::sync()
{
    setVisible(m_frame.panel() == PanelState::Open);
    if (m_group)
        m_group->setChoice(m_frame.choice());
}

void SectionPanel::clickStyle(int index)
{
    showOutcome(m_frame.clickStyle(index, inputs()));
}

void SectionPanel::clickBeside()
{
    showOutcome(m_frame.clickBeside(inputs()));
}

void SectionPanel::showOutcome(const ClickOutcome &outcome)
{
    // The enabled states change before anything can fail, so a user whose
    // number does not convert can still correct it.
    if (outcome.inputStates && m_pictureWidth) {
        m_pictureWidth->setEnabled(outcome.inputStates->widthEnabled);
        m_pictureHeight->setEnabled(outcome.inputStates->heightEnabled);
    }
    sync();
    if (!outcome.preview)
        return;
    if (*outcome.preview)
        emit previewWritten(**outcome.preview);
    else
        m_prompts.error(outcome.preview->error());
}

void SectionPanel::add()
{
    if (m_frame.info().extras == PanelExtras::Custom) {
        // The raw text keeps non-breaking spaces that toPlainText() would
        // turn into plain blanks; paragraph separators become CR LF.
        const GeneratedItem item = m_frame.addCustom(customSnippet(m_customCode->rawText()), inputs());
        sync();
        emit addRequested(item);
        return;
    }
    const Result<GeneratedItem> item = m_frame.add(inputs());
    sync();
    if (item)
        emit addRequested(*item);
    else
        m_prompts.notice(item.error());
}

void SectionPanel::cancel()
{
    m_frame.cancel();
    sync();
}

void SectionPanel::chooseColour(ColourEdit *edit)
{
    const QColor colour = m_prompts.pickColour();
    edit->setText(colourText(colour.red(), colour.green(), colour.blue()));
    edit->setBackground(colour);
    m_frame.clearChoice();
    sync();
}
