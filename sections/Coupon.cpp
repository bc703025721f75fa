#include "Generators.h"

// A link around a table in the coupon colour: currency sign, the amount 10
// across both rows and the word 优惠券 in white, and under the word a white
// box with the condition in the coupon colour. The colour goes in verbatim.
QString couponBlock(const QString &colour)
{
    QString s;
    s += u"<a style=\"color:#FFF;text-decoration:none\" href=\"#优惠券链接\" target=\"_blank\">"
         u"<table width=\"98%\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\" bgcolor=\"";
    s += colour;
    s += u"\">";
    s += u"<tr>";
    s += u"<td>";
    s += u"<div style=\"font-size:18px; float:left; font-family:Microsoft YaHei; margin-top:15px; "
         u"padding-left:10px;color:#fff\"> ￥</div>";
    s += u"</td>";
    s += u"<td rowspan=\"2\">";
    s += u"<div style=\"font-family:Arial; font-size:72px; float:left; font-weight:700; "
         u"line-height:90px;;color:#fff\"> 10</div>";
    s += u"</td>";
    s += u"<td>";
    s += u"<div style=\"font-size:20px; float:left; font-family:Microsoft YaHei; margin-top:10px; "
         u"margin-left:10px; width:110px; line-height:35px;;color:#fff\">优惠券</div>";
    s += u"</td>";
    s += u"</tr>";
    s += u"<tr>";
    s += u"<td>&nbsp;</td>";
    s += u"<td valign=\"top\">";
    s += u"<div style=\"font-size:14px; float:left; font-family:Microsoft YaHei;margin-left:10px;width:110px; "
         u"background-color:#FFF; line-height:25px; text-align:center;\">";
    s += u"<span style=\"color:";
    s += colour;
    s += u"\">满200元使用</span></div>";
    s += u"</td>";
    s += u"</tr>";
    s += u"</table>";
    s += u"</a>";
    return s;
}

BuildResult coupon(int style, const SectionInputs &inputs)
{
    if (style != 0)
        return keepCode();
    return built(couponBlock(inputs.colour));
}
