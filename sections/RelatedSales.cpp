#include "Generators.h"
#include "IntegerText.h"
#include "SampleAddresses.h"

using namespace SampleAddresses;

namespace {

// Every snippet of the section is one row inside a full-width table cell.
constexpr QStringView TableOpen = u"<table width=\"100%\" border=\"0\"><tr><td>";
constexpr QStringView TableClose = u"</td></tr></table>";

// The title and price lines under each product picture.
constexpr QStringView TitleLines = u"<div style=\"font-size:14px;font-family:arial;\">"
                                   u"<div style=\"line-height:30px; margin-top:5px; color:#666\">自定义标题信息</div>"
                                   u"<div style=\"font-size:20px; color:#F30\">"
                                   u"<span style=\"font-size:12px;font-family:Microsoft YaHei\">￥</span>59.00</div>";

// "'<text>' is not a valid integer value", the user's text kept verbatim
// (no argument substitution, so a text holding "%1" stays as it is).
QString notAnInteger(const QString &text)
{
    return u'\'' % text % QLatin1String("' is not a valid integer value");
}

// One picture with title and price, 10 pixels right of its neighbour. The
// first block of a row is written out in relatedSales(): no left margin and
// single blanks around the picture attributes.
QString productBlock(const QString &width, const QString &height, const QString &blockHeight)
{
    QString s;
    s += u"<div style=\"width:";
    s += width;
    s += u"px;height:";
    s += blockHeight;
    s += u"px; float:left; overflow:hidden; margin-bottom:10px;margin-left:10px;\"><a href=\"#\" target=\"_blank\">";
    s += u"<img src=\"";
    s += SamplePic01;
    s += u"\"  width = \"";
    s += width;
    s += u"\" height = \"";
    s += height;
    s += u"\"  style=\"border:none\"  />";
    s += u"</a>";
    s += TitleLines;
    s += u"</div></div>";
    return s;
}

// One picture clipped by a box of the width by the height.
QString pictureBlock(const QString &width, const QString &height)
{
    QString s;
    s += u"<div style=\"width:";
    s += width;
    s += u"px;height:";
    s += height;
    s += u"px; float:left; overflow:hidden; margin-left:10px; margin-bottom:10px;\">";
    s += u"<a href=\"#\" target=\"_blank\">";
    s += u"<img style=\"border:none\" src=\"";
    s += SamplePic01;
    s += u"\" /></a></div>";
    return s;
}

// A quarter of the row: title, subtitle and picture, centred; no inputs.
QString quarterBlock()
{
    QString s;
    s += u"<div style=\"width:25%;height:265px; float:left; overflow:hidden; margin-bottom:10px; "
         u"font-family:Microsoft YaHei; text-align:center\">"
         u"<div style=\"font-size:18px;height:30px; color:#000; margin-top:15px;\">自定义标题信息</div>"
         u"<div style=\"font-size:14px;height:25px; color:#666\">自定义副标题</div>"
         u"<a style=\"text-decoration:none\" href=\"#\" target=\"_blank\"><img style=\"border:none\" src=\"";
    s += SamplePic02;
    s += u"\" alt=\" 190.jpg\"/></a></div>";
    return s;
}

// The linked img element every picture of the mosaic carries.
void appendMosaicPicture(QString &s, QStringView picture, const QString &width, const QString &height)
{
    s += u"<a href=\"";
    s += ShopHomeLink;
    s += u"\" target=\"_blank\"><img style=\"border:none\"  src=\"";
    s += picture;
    s += u"\" width=\"";
    s += width;
    s += u"\" height=\"";
    s += height;
    s += u"\"  alt=\"\"/></a></div>";
}

// The six-picture mosaic: a left column of unitW x outer, a second column of
// two unitW x unitH pictures, and an outer x outer square holding two
// unitW x unitH pictures over one outer x unitH band. With unitH = unitW and
// outer = 2 * unitW + 10 the three columns are equally tall.
QString irregularBlock(const QString &unitW, const QString &unitH, const QString &outer)
{
    QString b;
    // Picture 1, the left column.
    b += u"<div style=\"width:" % unitW % u"px; height:" % outer % u"px; overflow:hidden;float:left\">";
    appendMosaicPicture(b, SamplePic03, unitW, outer);
    // Picture 2 opens the second column.
    b += u"<div style=\"width:" % unitW % u"px; height:" % outer
        % u"px; margin-left:10px;float:left\">"
          u"<div style=\"width:"
        % unitW % u"px; height:" % unitH % u"px;\">";
    appendMosaicPicture(b, SamplePic05, unitW, unitH);
    // Picture 3 closes it.
    b += u"<div style=\"width:" % unitW % u"px; height:" % unitH % u"px; margin-top:10px\">";
    appendMosaicPicture(b, SamplePic05, unitW, unitH);
    b += u"</div>";
    // Picture 4 opens the right square.
    b += u"<div style=\"width:" % outer % u"px; height:" % outer
        % u"px; margin-left:10px;float:left\">"
          u"<div style=\"width:"
        % unitW % u"px; height:" % unitH % u"px; float:left\">";
    appendMosaicPicture(b, SamplePic05, unitW, unitH);
    // Picture 5 beside it.
    b += u"<div style=\"width:" % unitW % u"px; height:" % unitH % u"px; float:left; margin-left:10px\">";
    appendMosaicPicture(b, SamplePic05, unitW, unitH);
    // Picture 6, the band that closes the square.
    b += u"<div style=\"width:" % outer % u"px; height:" % unitH % u"px; margin-top:10px;float:left\">";
    appendMosaicPicture(b, SamplePic04, outer, unitH);
    b += u"</div>";
    return b;
}

} // namespace

InputStates relatedSalesInputs(int style)
{
    // "图文混排" uses neither input, "不规则图" only the width.
    return {style != 2, style != 2 && style != 3};
}

BuildResult relatedSales(int style, const SectionInputs &inputs)
{
    const QString &width = inputs.widthText;
    const QString &height = inputs.heightText;

    // Both texts must convert, whatever the style uses; the height is checked
    // first. The sums are taken in 64 bits so no value of qint32 wraps.
    const std::optional<qint32> heightValue = parseInteger(height);
    if (!heightValue)
        return Failure{notAnInteger(height)};
    const std::optional<qint32> widthValue = parseInteger(width);
    if (!widthValue)
        return Failure{notAnInteger(width)};
    const QString blockHeight = QString::number(qint64(*heightValue) + 65);
    const QString doubleWidth = QString::number(qint64(*widthValue) + qint64(*widthValue) + 10);

    QString s;
    switch (style) {
    case 0: // 默认样式: four product blocks, the table as tall as one
        s += u"<table width=\"100%\" border=\"0\" height=\"";
        s += blockHeight;
        s += u"\"><tr><td>";
        s += u"<div style=\"width:";
        s += width;
        s += u"px;height:";
        s += blockHeight;
        s += u"px; float:left; overflow:hidden; margin-bottom:10px;\"><a href=\"#\" target=\"_blank\">";
        s += u"<img src=\"";
        s += SamplePic01;
        s += u"\" width = \"";
        s += width;
        s += u"\" height = \"";
        s += height;
        s += u"\" style=\"border:none\" />";
        s += u"</a>";
        s += TitleLines;
        s += u"</div></div>";
        for (int i = 0; i < 3; ++i)
            s += productBlock(width, height, blockHeight);
        s += TableClose;
        break;
    case 1: // 图片样式: four clipped pictures
        s += TableOpen;
        s += u"<div style=\"width:";
        s += width;
        s += u"px;height:";
        s += height;
        s += u"px; float:left; overflow:hidden; margin-bottom:10px;\">";
        s += u"<a href=\"#\" target=\"_blank\"><img style=\"border:none\" src=\"";
        s += SamplePic01;
        s += u"\"  />";
        s += u"</a></div>";
        for (int i = 0; i < 3; ++i)
            s += pictureBlock(width, height);
        s += TableClose;
        break;
    case 2: // 图文混排: fixed quarters
        s += TableOpen;
        for (int i = 0; i < 4; ++i)
            s += quarterBlock();
        s += TableClose;
        break;
    case 3: // 不规则图: the mosaic, square units of the width
        s += TableOpen;
        s += irregularBlock(width, width, doubleWidth);
        s += TableClose;
        break;
    default:
        return keepCode();
    }
    return built(s);
}
