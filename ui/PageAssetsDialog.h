#pragma once

#include "ContentForm.h"
#include "PageAddresses.h"

// The page-wide dialog `pageAssets`: every distinct picture and link
// address of the page in the order of first use, each with the number of
// places that use it and a field to replace it everywhere at once.
class PageAssetsDialog : public ContentForm
{
    Q_OBJECT
public:
    // `addresses` are those of `snippets`, as collectPageAddresses finds them.
    PageAssetsDialog(const QStringList &snippets, std::vector<PageAddress> addresses, const QStringList &samples,
                     UserPrompts &prompts, QWidget *parent = nullptr);

    // After OK: the page with every changed address replaced.
    const PageReplacement &replacement() const { return m_replacement; }

protected:
    Result<> takeAnswer() override;

private:
    QStringList m_snippets;
    std::vector<PageAddress> m_addresses;
    PageReplacement m_replacement;
};
