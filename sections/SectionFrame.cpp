#include "SectionFrame.h"

QString colourText(int red, int green, int blue)
{
    return QStringLiteral("#%1%2%3")
        .arg(red & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(green & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(blue & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

SectionFrame::SectionFrame(const SectionInfo &info, PageOutput &output)
    : m_info(info)
    , m_output(output)
    , m_code(info.placeholder)
    , m_panel(info.startsInWorkArea ? PanelState::Closed : PanelState::Stored)
{
}

void SectionFrame::open()
{
    m_panel = PanelState::Open;
}

ClickOutcome SectionFrame::clickStyle(int index, const SectionInputs &inputs)
{
    if (index < 0 || index >= m_info.styles.size() || index == m_choice)
        return {};
    m_choice = index;
    return build(inputs);
}

ClickOutcome SectionFrame::clickBeside(const SectionInputs &inputs)
{
    if (m_info.styles.isEmpty())
        return {};
    return build(inputs);
}

ClickOutcome SectionFrame::build(const SectionInputs &inputs)
{
    ClickOutcome outcome;
    outcome.ran = true;
    if (m_info.inputRule)
        outcome.inputStates = m_info.inputRule(m_choice);
    if (m_info.generate) {
        const BuildResult result = m_info.generate(m_choice, inputs);
        if (!result) {
            outcome.preview = Failure{result.error()};
            return outcome;
        }
        if (*result)
            m_code = **result;
    }
    switch (m_info.preview) {
    case PreviewKind::Standard:
        outcome.preview = m_output.stylePreview(m_code);
        break;
    case PreviewKind::Coupon:
        outcome.preview = m_output.couponPreview(m_code);
        break;
    case PreviewKind::None:
        break;
    }
    return outcome;
}

QString SectionFrame::displayName(const SectionInputs &inputs) const
{
    // A section without styles (the custom one) shows its title where the
    // others show the style.
    const QString style = m_info.styles.isEmpty() ? m_info.title
        : m_choice >= 0                           ? m_info.styles.at(m_choice)
                                                  : QString();
    const QString section = m_info.nameFromEdit ? inputs.name : m_info.title;
    return QLatin1String("  ") % style % u'-' % section;
}

Result<GeneratedItem> SectionFrame::add(const SectionInputs &inputs)
{
    if (m_choice < 0) // the panel stays open; the choice is already clear
        return Failure{QStringLiteral("请至少选择一项！")};
    GeneratedItem item{displayName(inputs), m_code};
    m_panel = PanelState::Closed;
    m_choice = -1;
    return item;
}

GeneratedItem SectionFrame::addCustom(const QString &snippet, const SectionInputs &inputs)
{
    m_panel = PanelState::Closed;
    return {displayName(inputs), snippet};
}

void SectionFrame::cancel()
{
    m_panel = PanelState::Closed;
    if (!m_info.cancelKeepsChoice)
        m_choice = -1;
}
