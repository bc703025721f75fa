#include "Generators.h"
#include "SampleAddresses.h"
#include "Templates.h"

#include <QStringView>

namespace {

BuildResult copy(TemplateId id)
{
    return built(templateText(id));
}

// 单行图文: one picture row above one caption row, all on one line.
const QString &singleRowSnippet()
{
    static const QString text =
        QStringLiteral("<table  style=\"font-family:Microsoft YaHei; font-size:16px\" width=\"100%\" border=\"0\" "
                       "cellpadding=\"0\" cellspacing=\"0\"><tr><td height=\"100\"><img src=\"")
        % QStringView(SampleAddresses::SamplePic13)
        % QStringLiteral("\" alt=\" 750-1.jpg\"/></td></tr><tr><td height=\"65\">"
                         "【 钉扣设计 】隐藏的钉扣设计简单实用又不影响全衣美感，更能体现全衣的极简品质。！"
                         "</td></tr></table>");
    return text;
}

// 图文交错: two pictures side by side, no text, all on one line.
const QString &twoPictureSnippet()
{
    static const QString text = QStringLiteral("<table width=\"100%\" border=\"0\"><tr><td align=\"left\"><img src=\"")
        % QStringView(SampleAddresses::SamplePic10)
        % QStringLiteral("\" alt=\" 385-1.jpg\"/></td><td align=\"right\"><img src=\"")
        % QStringView(SampleAddresses::SamplePic10) % QStringLiteral("\" alt=\" 385-1.jpg\"/></td></tr></table>");
    return text;
}

} // namespace

// Each section maps its style index to one fixed text; an index without a
// style (-1) leaves the code edit as it is.

BuildResult productInfo(int style, const SectionInputs &)
{
    switch (style) {
    case 0:
        return copy(TemplateId::Lbl003); // 默认模式
    case 1:
        return copy(TemplateId::LblCanshu2); // 右图左文
    case 2:
        return copy(TemplateId::LblCanshu3); // 左图右文
    default:
        return keepCode();
    }
}

BuildResult sizeTable(int style, const SectionInputs &)
{
    return style == 0 ? copy(TemplateId::LblMorenChima) : keepCode();
}

BuildResult pictureList(int style, const SectionInputs &)
{
    switch (style) {
    case 0:
        return built(singleRowSnippet()); // 单行图文
    case 1:
        return copy(TemplateId::LblTuwen2); // 双列图文
    case 2:
        return copy(TemplateId::LblTuwen3); // 双列图片
    case 3:
        return built(twoPictureSnippet()); // 图文交错
    default:
        return keepCode();
    }
}

BuildResult productDetails(int style, const SectionInputs &)
{
    return style == 0 ? copy(TemplateId::LblXijie01) : keepCode();
}

BuildResult bundleSale(int style, const SectionInputs &)
{
    return style == 0 ? copy(TemplateId::LblDapei) : keepCode();
}

BuildResult afterSales(int style, const SectionInputs &)
{
    switch (style) {
    case 0:
        return copy(TemplateId::LblBidu); // 卖家说明
    case 1:
        return copy(TemplateId::LblWenda); // 自助问答
    default:
        return keepCode();
    }
}
