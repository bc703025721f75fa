#include "Generators.h"

// The page width, colour and name go into the HTML exactly as typed: no
// conversion, no escaping.
BuildResult dividerBar(int style, const SectionInputs &inputs)
{
    const QString &width = inputs.pageWidth;
    const QString &colour = inputs.colour;
    const QString &name = inputs.name;

    QString s;
    switch (style) {
    case 0: // 标准样式: a 35-pixel band, the name in white at the left
        s += u"<table width=\"100%\" border=\"0\"><tr><td><div style=\"height:35px;width:";
        s += width;
        s += u"px; line-height:35px; background-color:";
        s += colour;
        s += u"; font-size:16px; font-family:Microsoft YaHei; padding-left:15px; ";
        s += u"color:#FFF;font-weight:600; margin-bottom:20px;margin-top:20px;\">";
        s += name;
        s += u"</div>";
        s += u"</td></tr></table>";
        break;
    case 1: // 版块分割: an 80-pixel band, the name centred between two ≡
        s += u"<table width=\"100%\" border=\"0\"><tr><td><div style=\"height:80px;width:";
        s += width;
        s += u"px;  line-height:80px; font-size:33px; font-family:Microsoft YaHei; padding-left:15px; "
             u"color:#fff;font-weight:100; text-align:center; background-color:";
        s += colour;
        s += u";margin-bottom:20px;margin-top:20px;\"> &equiv; ";
        s += name;
        s += u" &equiv; </div>";
        s += u"</td></tr></table>";
        break;
    case 2: // 个性居中: a rounded "01" square, the name between em dashes, an introduction
        s += u"<table width=\"100%\" border=\"0\"><tr><td><table style=\"margin-top:20px;\" width=\"";
        s += width;
        s += u"\" height=\"120\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\"><tr>";
        s += u"<td align=\"center\" valign=\"top\"><div style=\"height:100px; width:100px; background-color:";
        s += colour;
        s += u";";
        s += u" text-align:center; line-height:100px; font-size:50px; color:#FFF; font-family:Impact;"
             u"border:3px solid;border-radius:20px;-moz-border-radius:20px;\">01</div></td>";
        s += u"</tr></table>";
        s += u"<div style=\"line-height:40px; font-size:36px; font-family:Microsoft YaHei;text-align:center; "
             u"color:#666\">\u2014 ";
        s += name;
        s += u" \u2014</div> ";
        s += u"<div style=\"line-height:40px; font-size:16px;text-align:center;font-family:Microsoft YaHei; "
             u"color:#999;margin-bottom:20px;\">这里是一段简介信息部分，简介描述标题信息</div>";
        s += u"</td></tr></table>";
        break;
    case 3: // 简约直线: the name over a dotted rule, a slogan at the right, a thick rule below
        s += u"<table width=\"100%\" border=\"0\"><tr><td><div style=\"width:";
        s += width;
        s += u"px; height:47px; border-bottom:3px ";
        s += colour;
        s += u" solid;margin-bottom:20px;margin-top:20px;\">";
        s += u"<div style=\" height:40px;line-height:40px; font-size:16px;font-family:Microsoft YaHei; border-bottom:";
        s += colour;
        s += u" 1px   dotted\">";
        s += u"<div style=\"font-size:23px; color:";
        s += colour;
        s += u"; line-height:40px; float:left\"> ";
        s += name;
        s += u" </div>";
        s += u"<div  style=\"font-size:14px; float:right; color:#999;line-height:40px;\">我们带给您的，只有精品 ! "
             u"</div></div></div>";
        s += u"</td></tr></table>";
        break;
    default:
        return keepCode();
    }
    return built(s);
}
