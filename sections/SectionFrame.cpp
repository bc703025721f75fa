#include "SectionFrame.h"

#include "GeneratedItems.h"

QString colourText(int red, int green, int blue)
{
    return QStringLiteral("#%1%2%3")
        .arg(red & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(green & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(blue & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

SectionFrame::SectionFrame(const SectionInfo &info, GeneratedItems &items, PageOutput &output)
    : m_info(info)
    , m_items(items)
    , m_output(output)
    , m_code(info.placeholder)
    // The custom panel lives in the work area from the start, hidden.
    , m_panel(info.extras == PanelExtras::Custom ? PanelState::Closed : PanelState::Stored)
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
        if (result.failed()) {
            outcome.error = result.error;
            return outcome;
        }
        if (result.snippet)
            m_code = *result.snippet;
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
    const QString style = m_choice >= 0 ? m_info.styles.at(m_choice) : QString();
    const QString section = m_info.nameFromEdit ? inputs.name : m_info.title;
    return QLatin1String("  ") % style % u'-' % section;
}

AddOutcome SectionFrame::add(const SectionInputs &inputs)
{
    if (m_choice < 0)
        return AddOutcome::Refused; // the panel stays open; the choice is already clear
    m_items.append(m_code, displayName(inputs));
    m_panel = PanelState::Closed;
    m_choice = -1;
    return AddOutcome::Added;
}

void SectionFrame::addCustom(const QString &snippet, const QString &name)
{
    m_items.append(snippet, QStringLiteral("  自定义-") % name);
    m_panel = PanelState::Closed;
}

void SectionFrame::cancel()
{
    m_panel = PanelState::Closed;
    if (!m_info.cancelKeepsChoice)
        m_choice = -1;
}
