#pragma once

#include <QString>

// The shop type the seller picks and the page width it sets.
namespace ShopType {

inline constexpr int None = -1;  // nothing picked yet, as at start
inline constexpr int Market = 0; // 集市店
inline constexpr int Tmall = 1;  // 天猫店

inline bool isValid(int shopType)
{
    return shopType >= None && shopType <= Tmall;
}

// The width divider bars use. Before a shop type is picked it is the
// marketplace's, so every valid shop type has exactly one width.
inline QString pageWidth(int shopType)
{
    return shopType == Tmall ? QStringLiteral("790") : QStringLiteral("750");
}

} // namespace ShopType
