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
    if (index == 0)
        m_pageWidth = QStringLiteral("750");
    else if (index == 1)
        m_pageWidth = QStringLiteral("790");
}
