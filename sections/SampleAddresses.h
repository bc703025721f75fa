#pragma once

#include <QStringList>

// Sample picture addresses and the sample shop link and place name that the
// built-in snippets carry. Each picture is drawn at the size at which the
// snippets show it, so a pasted page looks right before the seller replaces
// them. Change them here and nowhere else.
namespace SampleAddresses {

// Related-sales product picture (shown at the chosen width x height) and the
// bundle-sale picture, whose alt text names 190 x 300.
inline constexpr char16_t SamplePic01[] = u"https://placehold.co/190x300.png";
// Related-sales quarter block ("图文混排"), alt text " 190.jpg".
inline constexpr char16_t SamplePic02[] = u"https://placehold.co/190x190.png";
// Irregular mosaic: left column (width x double width), bottom band
// (double width x width) and the four square pictures.
inline constexpr char16_t SamplePic03[] = u"https://placehold.co/190x390.png";
inline constexpr char16_t SamplePic04[] = u"https://placehold.co/390x190.png";
inline constexpr char16_t SamplePic05[] = u"https://placehold.co/190x190.png";
// Product details: the three detail pictures in 320 x 140 cells.
inline constexpr char16_t SamplePic06[] = u"https://placehold.co/320x140.png";
// Product info side picture and the two-column picture list, 350 x 350.
inline constexpr char16_t SamplePic07[] = u"https://placehold.co/350x350.png";
// Product info "左图右文" picture, 420 x 720.
inline constexpr char16_t SamplePic08[] = u"https://placehold.co/420x720.png";
inline constexpr char16_t SamplePic09[] = u"https://placehold.co/320x140.png";
// Picture list, pictures 385 wide.
inline constexpr char16_t SamplePic10[] = u"https://placehold.co/385x260.png";
// Product info "右图左文" picture, 300 x 300.
inline constexpr char16_t SamplePic11[] = u"https://placehold.co/300x300.png";
inline constexpr char16_t SamplePic12[] = u"https://placehold.co/320x140.png";
// Picture list single row, 750 wide in a 100-pixel row.
inline constexpr char16_t SamplePic13[] = u"https://placehold.co/750x100.png";
// Product details main picture, 420 x 720.
inline constexpr char16_t SamplePic14[] = u"https://placehold.co/420x720.png";

// Every sample picture address above, for what treats them alike.
inline constexpr const char16_t *SamplePictures[] = {
    SamplePic01, SamplePic02, SamplePic03, SamplePic04, SamplePic05, SamplePic06, SamplePic07,
    SamplePic08, SamplePic09, SamplePic10, SamplePic11, SamplePic12, SamplePic13, SamplePic14,
};

// The shop home page every picture of the irregular mosaic links to.
inline constexpr char16_t ShopHomeLink[] = u"https://www.taobao.com/";

// The sample place of origin in the product-info table.
inline constexpr char16_t SamplePlace[] = u"浙江杭州";

// Every sample address above, pictures and the shop link: the values a
// seller still has to replace.
inline QStringList everySampleAddress()
{
    QStringList all;
    for (const char16_t *address :
         {SamplePic01, SamplePic02, SamplePic03, SamplePic04, SamplePic05, SamplePic06, SamplePic07, SamplePic08,
          SamplePic09, SamplePic10, SamplePic11, SamplePic12, SamplePic13, SamplePic14, ShopHomeLink})
        all.append(QString::fromUtf16(address));
    return all;
}

} // namespace SampleAddresses
