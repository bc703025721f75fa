#pragma once

#include "GeneratedItems.h"
#include "LayoutFile.h"
#include "PageOutput.h"
#include "ScratchFiles.h"
#include "SectionFrame.h"
#include "ShopType.h"

#include <memory>
#include <vector>

// Everything the window works on, without the window: the generated-items
// list, the total-code memo with the scratch files, the shop type with its
// page width and the section frames, one per row of the section table.
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
    // Sets the shop type and its width, also back to none (-1) as at start,
    // as opening a layout and undoing that do; anything else changes nothing.
    void setShopType(int shopType);
    int shopType() const { return m_shopType; }
    const QString &pageWidth() const { return m_pageWidth; }

    // The list and the shop type as a layout file holds them, and back:
    // what save writes, and what opening a layout (or undoing that) sets.
    Layout layout() const;
    void setLayout(const Layout &layout);

private:
    std::unique_ptr<ScratchFiles> m_files;
    GeneratedItems m_items;
    PageOutput m_output;
    std::vector<SectionFrame> m_sections;
    int m_shopType = ShopType::None;
    QString m_pageWidth = ShopType::pageWidth(ShopType::None);
};
