#include "PageAssetsDialog.h"

PageAssetsDialog::PageAssetsDialog(const QStringList &snippets, std::vector<PageAddress> addresses,
                                   const QStringList &samples, UserPrompts &prompts, QWidget *parent)
    : ContentForm(QStringLiteral("pageAssets"), QStringLiteral("图片链接"),
                  QStringLiteral("整页用到的图片地址和链接地址。改好一个地址后按确定，"
                                 "所有用到它的地方都换成新地址。"),
                  QStringLiteral("assetField"), samples, prompts, parent)
    , m_snippets(snippets)
    , m_addresses(std::move(addresses))
    , m_replacement{snippets, {}}
{
    int pictures = 0, links = 0;
    for (const PageAddress &a : m_addresses) {
        const QString name = a.kind == PieceKind::Link ? QStringLiteral("链接地址 %1").arg(++links)
                                                       : QStringLiteral("图片地址 %1").arg(++pictures);
        addField(a.kind, name, QStringLiteral("（%1 处）").arg(a.uses), a.address);
    }
    finish();
}

Result<> PageAssetsDialog::takeAnswer()
{
    std::vector<AddressReplacement> replacements;
    for (int i = 0; i < fieldCount(); ++i) {
        if (isChanged(i))
            replacements.push_back({m_addresses[std::size_t(i)].kind, m_addresses[std::size_t(i)].address, value(i)});
    }
    Result<PageReplacement> replaced = replacePageAddresses(m_snippets, replacements);
    if (!replaced)
        return Failure{replaced.error()};
    m_replacement = *replaced;
    return {};
}
