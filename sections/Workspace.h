#pragma once

#include "GeneratedItems.h"
#include "PageOutput.h"
#include "ScratchFiles.h"
#include "SectionFrame.h"

#include <memory>
#include <vector>

// Everything the window works on, without the window: the generated-items
// list, the total-code memo with the scratch files, the page width and the
// section frames, one per row of the section table.
class Workspace
{
public:
    Workspace();
    explicit Workspace(std::unique_ptr<ScratchFiles> files);

    GeneratedItems &items() { return m_items; }
    PageOutput &output() { return m_output; }
    ScratchFiles &files() { return *m_files; }
    SectionFrame &section(int number) { return m_sections.at(std::size_t(number - 1)); }

    // The shop type: index 0 gives "750", index 1 "790", anything else
    // changes nothing.
    void chooseShopType(int index);
    const QString &pageWidth() const { return m_pageWidth; }

private:
    std::unique_ptr<ScratchFiles> m_files;
    GeneratedItems m_items;
    PageOutput m_output;
    std::vector<SectionFrame> m_sections;
    QString m_pageWidth = PanelDefaults::PageWidth;
};
