#pragma once

#include "GeneratedItems.h"
#include "PageOutput.h"
#include "SectionTable.h"

#include <optional>

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
    // The file a preview wrote, to be shown, or the failure to report: a
    // build that failed (nothing else happened) or a preview not written.
    // Nothing when there is nothing to show.
    std::optional<PreviewResult> preview;

    // The failure to report, or nothing.
    QString error() const { return preview && !*preview ? preview->error() : QString(); }
};

// "#RRGGBB" with two upper-case hexadecimal digits per component, as the
// colour chooser writes it into a colour edit.
QString colourText(int red, int green, int blue);

// The rules every section panel shares: the style choice, the code edit, the
// panel's open/closed state, the build on a style click, Add and Cancel. One
// instance per section, driven by the section's row of the section table.
class SectionFrame
{
public:
    SectionFrame(const SectionInfo &info, PageOutput &output);

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

    // The entry Add appends to the list: the code edit's text named
    // "  " + style + "-" + section name. The panel closes; refused, with the
    // message to show, when no style is chosen. The choice is cleared in
    // both cases. The caller appends the entry.
    Result<GeneratedItem> add(const SectionInputs &inputs);
    // The custom section's Add: the memo's text named after the title and
    // the typed name, no check.
    GeneratedItem addCustom(const QString &snippet, const SectionInputs &inputs);

    void cancel();
    // Clears the choice without rebuilding (inputs changed, colour chosen).
    void clearChoice() { m_choice = -1; }

    QString displayName(const SectionInputs &inputs) const;

private:
    ClickOutcome build(const SectionInputs &inputs);

    const SectionInfo &m_info;
    PageOutput &m_output;
    int m_choice = -1;
    QString m_code;
    PanelState m_panel;
};
