#pragma once

#include "PageOutput.h"
#include "SectionTable.h"

#include <optional>

class GeneratedItems;

enum class PanelState {
    Stored, // not yet opened
    Open,   // in the work area, visible
    Closed, // in the work area, hidden
};

// What a style click did, for the panel to show.
struct ClickOutcome
{
    bool ran = false;                       // the generator ran
    std::optional<InputStates> inputStates; // new enabled states of the panel's inputs
    QString error;                          // the build failed: show this, nothing else happened
    std::optional<PreviewResult> preview;   // a preview was written (or failed to be)
};

enum class AddOutcome { Added, Refused };

// "#RRGGBB" with two upper-case hexadecimal digits per component, as the
// colour chooser writes it into a colour edit.
QString colourText(int red, int green, int blue);

// The rules every section panel shares: the style choice, the code edit, the
// panel's open/closed state, the build on a style click, Add and Cancel. One
// instance per section, driven by the section's row of the section table.
class SectionFrame
{
public:
    SectionFrame(const SectionInfo &info, GeneratedItems &items, PageOutput &output);

    const SectionInfo &info() const { return m_info; }
    int choice() const { return m_choice; }
    const QString &code() const { return m_code; }
    PanelState panel() const { return m_panel; }

    // The function-list button shows the panel; nothing is built.
    void open();

    // A click on item `index` of the style group. Choosing the style that is
    // already chosen does nothing; any other choice runs the generator.
    ClickOutcome clickStyle(int index, const SectionInputs &inputs);
    // A click on the style group outside its items: the generator runs with
    // the current choice, -1 included.
    ClickOutcome clickBeside(const SectionInputs &inputs);

    // Appends the code edit's text and "  " + style + "-" + section name,
    // closes the panel; refused when no style is chosen. The choice is
    // cleared in both cases.
    AddOutcome add(const SectionInputs &inputs);
    // The custom section's Add: the snippet is the memo's text, no check.
    void addCustom(const QString &snippet, const QString &name);

    void cancel();
    // Clears the choice without rebuilding (inputs changed, colour chosen).
    void clearChoice() { m_choice = -1; }

    QString displayName(const SectionInputs &inputs) const;

private:
    ClickOutcome build(const SectionInputs &inputs);

    const SectionInfo &m_info;
    GeneratedItems &m_items;
    PageOutput &m_output;
    int m_choice = -1;
    QString m_code;
    PanelState m_panel;
};
