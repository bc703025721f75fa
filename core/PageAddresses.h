#pragma once

#include "ContentPieces.h"

#include <QString>
#include <QStringList>

#include <vector>

// A picture or link address of the page and the number of places that use it.
struct PageAddress
{
    PieceKind kind = PieceKind::Picture;
    QString address;
    int uses = 0;
};

// Every distinct picture address and every distinct link address of the
// snippets (decoded values; pictures and links counted apart), in the order
// of first use.
std::vector<PageAddress> collectPageAddresses(const QStringList &snippets);

struct AddressReplacement
{
    PieceKind kind = PieceKind::Picture;
    QString from;
    QString to;
};

struct PageReplacement
{
    QStringList snippets;          // the whole page, replaced
    std::vector<int> changedItems; // the indexes whose snippet differs, ascending
};

// Each address equal to a replacement's `from` (same kind) becomes its `to`
// wherever it occurs, under ContentPieces::apply's rules; every other
// character stays. All replacements read the original addresses, so "a to
// b" with "b to c" swaps nothing into c. Fails, changing nothing, when a `to`
// is refused by checkAddress or one address is given two different `to`s.
Result<PageReplacement> replacePageAddresses(const QStringList &snippets,
                                             const std::vector<AddressReplacement> &replacements);
