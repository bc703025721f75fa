#include "Workspace.h"

Workspace::Workspace()
    : Workspace(std::make_unique<ScratchFiles>())
{
}

Workspace::Workspace(std::unique_ptr<ScratchFiles> files)
    : m_files(std::move(files))
    , m_output(*m_files)
{
    m_sections.reserve(sectionTable().size());
    for (const SectionInfo &info : sectionTable())
        m_sections.emplace_back(info, m_output);
}

void Workspace::chooseShopType(int index)
{
    if (index == ShopType::Market || index == ShopType::Tmall)
        setShopType(index);
}

void Workspace::setShopType(int shopType)
{
    if (!ShopType::isValid(shopType))
        return;
    m_shopType = shopType;
    m_pageWidth = ShopType::pageWidth(shopType);
}

Layout Workspace::layout() const
{
    return Layout{m_shopType, m_items.names(), m_items.snippets()};
}

void Workspace::setLayout(const Layout &layout)
{
    setShopType(layout.shopType);
    m_items.assign(layout.snippets, layout.names);
}
