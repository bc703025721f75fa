#include "SectionTable.h"

#include "Generators.h"

namespace {

SectionInfo section(int number, const QString &caption, QPoint buttonPos)
{
    SectionInfo s;
    s.number = number;
    s.buttonCaption = caption;
    s.buttonPos = buttonPos;
    s.groupName = QStringLiteral("rzrdgrp%1").arg(number, 2, 10, QLatin1Char('0'));
    s.placeholder = QStringLiteral("edtguanlian");
    return s;
}

// Most panels share one layout: title at (24, 16), a 206-wide style group at
// (23, 40), Add and Cancel side by side below it.
void standardLayout(SectionInfo &s, int height, int groupHeight, QPoint add, QPoint cancel)
{
    s.panelWidth = 248;
    s.panelHeight = height;
    s.titlePos = {24, 16};
    s.groupRect = {23, 40, 206, groupHeight};
    s.addRect = {add, QSize(50, 25)};
    s.cancelRect = {cancel, QSize(50, 25)};
}

std::vector<SectionInfo> buildTable()
{
    std::vector<SectionInfo> t;

    SectionInfo s = section(1, QStringLiteral("关联销售"), {24, 193});
    s.panelWidth = 247;
    s.panelHeight = 237;
    s.titleName = QStringLiteral("lbl01");
    s.title = QStringLiteral("关联促销");
    s.titlePos = {24, 18};
    s.groupRect = {21, 96, 206, 73};
    s.styles = QStringList{QStringLiteral("默认样式"), QStringLiteral("图片样式"), QStringLiteral("图文混排"),
                           QStringLiteral("不规则图")};
    s.placeholder = QStringLiteral("edt01");
    s.addName = QStringLiteral("btn2");
    s.addRect = {71, 182, 50, 25};
    s.cancelName = QStringLiteral("btn3");
    s.cancelRect = {127, 182, 50, 25};
    s.extras = PanelExtras::RelatedSales;
    s.generate = relatedSales;
    s.inputRule = relatedSalesInputs;
    t.push_back(s);

    s = section(2, QStringLiteral("分隔条"), {112, 193});
    s.panelWidth = 247;
    s.panelHeight = 204;
    s.colour = PanelColour::Light3D;
    s.nameFromEdit = true;
    s.groupRect = {29, 72, 189, 73};
    s.itemHeight = 20;
    s.styles = QStringList{QStringLiteral("标准样式"), QStringLiteral("版块分割"), QStringLiteral("个性居中"),
                           QStringLiteral("简约直线")};
    s.placeholder = QStringLiteral("edt02");
    s.addName = QStringLiteral("btn1");
    s.addRect = {66, 153, 59, 25};
    s.cancelName = QStringLiteral("btn4");
    s.cancelRect = {130, 153, 50, 25};
    s.extras = PanelExtras::DividerBar;
    s.generate = dividerBar;
    t.push_back(s);

    s = section(3, QStringLiteral("产品信息"), {24, 252});
    standardLayout(s, 177, 78, {73, 134}, {129, 134});
    s.panelWidth = 251;
    s.titleName = QStringLiteral("lbl03");
    s.title = QStringLiteral("产品信息");
    s.styles = QStringList{QStringLiteral("默认模式"), QStringLiteral("右图左文"), QStringLiteral("左图右文")};
    s.addName = QStringLiteral("btn9");
    s.cancelName = QStringLiteral("btn10");
    s.generate = productInfo;
    t.push_back(s);

    s = section(4, QStringLiteral("尺码表"), {112, 252});
    standardLayout(s, 144, 43, {122, 94}, {178, 94});
    s.panelWidth = 251;
    s.colour = PanelColour::ButtonShadow;
    s.titleName = QStringLiteral("lbl04");
    s.title = QStringLiteral("尺码表");
    s.styles = QStringList{QStringLiteral("默认样式")};
    s.addName = QStringLiteral("btn11");
    s.cancelName = QStringLiteral("btn12");
    s.generate = sizeTable;
    t.push_back(s);

    s = section(5, QStringLiteral("图片列表"), {24, 310});
    standardLayout(s, 177, 73, {71, 124}, {127, 124});
    s.titleName = QStringLiteral("lbl05");
    s.title = QStringLiteral("图片列表");
    s.styles = QStringList{QStringLiteral("单行图文"), QStringLiteral("双列图文"), QStringLiteral("双列图片"),
                           QStringLiteral("图文交错")};
    s.addName = QStringLiteral("btn13");
    s.cancelName = QStringLiteral("btn14");
    s.generate = pictureList;
    t.push_back(s);

    s = section(6, QStringLiteral("产品细节"), {112, 310});
    standardLayout(s, 144, 43, {71, 94}, {127, 94});
    s.titleName = QStringLiteral("lbl06");
    s.title = QStringLiteral("产品细节");
    s.styles = QStringList{QStringLiteral("默认样式")};
    s.addName = QStringLiteral("btn15");
    s.cancelName = QStringLiteral("btn16");
    s.generate = productDetails;
    t.push_back(s);

    s = section(7, QStringLiteral("搭配销售"), {24, 369});
    standardLayout(s, 143, 43, {71, 94}, {127, 94});
    s.titleName = QStringLiteral("lbl07");
    s.title = QStringLiteral("搭配销售");
    s.styles = QStringList{QStringLiteral("搭配销售  ")}; // two trailing blanks belong to the caption
    s.addName = QStringLiteral("btn17");
    s.cancelName = QStringLiteral("btn18");
    s.generate = bundleSale;
    t.push_back(s);

    s = section(8, QStringLiteral("交流版块"), {112, 369});
    standardLayout(s, 146, 43, {71, 94}, {127, 94});
    s.colour = PanelColour::AppWorkspace;
    s.titleName = QStringLiteral("lbl08");
    s.title = QStringLiteral("售后说明");
    s.styles = QStringList{QStringLiteral("卖家说明  "), QStringLiteral("自助问答")};
    s.addName = QStringLiteral("btn19");
    s.cancelName = QStringLiteral("btn20");
    s.generate = afterSales;
    t.push_back(s);

    s = section(9, QStringLiteral("优惠券"), {24, 428});
    standardLayout(s, 175, 43, {71, 126}, {127, 126});
    s.groupRect.moveTop(64);
    s.titleName = QStringLiteral("lbl09");
    s.title = QStringLiteral("优惠券");
    s.styles = QStringList{QStringLiteral("默认样式")};
    s.addName = QStringLiteral("btn21");
    s.cancelName = QStringLiteral("btn22");
    s.preview = PreviewKind::Coupon;
    s.extras = PanelExtras::Coupon;
    s.openNotice = QStringLiteral("优惠券版式有些许错位，如果懂html代码可直接修改代码或者等待新版中修复！！");
    s.generate = coupon;
    t.push_back(s);

    // The custom section has no style group and no code edit: its snippet is
    // the memo's text, and its display name is the title and the typed name.
    s = section(10, QStringLiteral("自定义"), {112, 428});
    s.panelWidth = 252;
    s.panelHeight = 249;
    s.titleName = QStringLiteral("lbl10");
    s.title = QStringLiteral("自定义");
    s.titleText = QStringLiteral("自定义名：");
    s.titlePos = {16, 16};
    s.nameFromEdit = true;
    s.startsInWorkArea = true;
    s.groupName.clear();
    s.placeholder.clear();
    s.addName = QStringLiteral("btn23");
    s.addRect = {125, 198, 50, 25};
    s.cancelName = QStringLiteral("btn24");
    s.cancelRect = {181, 198, 50, 25};
    s.preview = PreviewKind::None;
    s.cancelKeepsChoice = true;
    s.extras = PanelExtras::Custom;
    t.push_back(s);

    s = section(11, QStringLiteral("分割线"), {24, 518});
    standardLayout(s, 151, 43, {71, 94}, {127, 94});
    s.titleName = QStringLiteral("lbl011");
    s.title = QStringLiteral("分割线");
    s.columns = 3;
    s.styles = QStringList{QStringLiteral("10px"), QStringLiteral("20px"), QStringLiteral("30px")};
    s.addName = QStringLiteral("btn25");
    s.cancelName = QStringLiteral("btn26");
    s.preview = PreviewKind::None;
    // Its Cancel keeps the style, so reopening and adding needs no new click.
    s.cancelKeepsChoice = true;
    s.generate = spacerLine;
    t.push_back(s);

    return t;
}

} // namespace

const std::vector<SectionInfo> &sectionTable()
{
    static const std::vector<SectionInfo> table = buildTable();
    return table;
}

const SectionInfo &sectionInfo(int number)
{
    Q_ASSERT(number >= 1 && number <= int(sectionTable().size()));
    return sectionTable().at(std::size_t(number - 1));
}
