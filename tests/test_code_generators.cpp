#include "Generators.h"
#include "IntegerText.h"
#include "SampleAddresses.h"
#include "ScratchPlatform.h"
#include "TestSupport.h"
#include "Workspace.h"

#include <QtTest>

using namespace Qt::StringLiterals;

// Expected snippets are written out in full. The sample addresses appear as
// their names and are put in by html(), so the addresses can change without
// touching these texts.
static QString html(const char *utf8)
{
    QString s = QString::fromUtf8(utf8);
    const std::pair<const char *, const char16_t *> samples[] = {
        {"SamplePic01", SampleAddresses::SamplePic01}, {"SamplePic02", SampleAddresses::SamplePic02},
        {"SamplePic03", SampleAddresses::SamplePic03}, {"SamplePic04", SampleAddresses::SamplePic04},
        {"SamplePic05", SampleAddresses::SamplePic05}, {"ShopHomeLink", SampleAddresses::ShopHomeLink},
    };
    for (const auto &[name, address] : samples)
        s.replace(QLatin1String(name), QString::fromUtf16(address));
    return s;
}

static SectionInputs relatedInputs(const QString &width, const QString &height)
{
    SectionInputs in;
    in.widthText = width;
    in.heightText = height;
    return in;
}

static QString notAnInteger(const QString &text)
{
    return u'\'' % text % QLatin1String("' is not a valid integer value");
}

// The enabled states a click reported, "WH" with 1 for enabled, or "-".
static QString statesText(const ClickOutcome &outcome)
{
    if (!outcome.inputStates)
        return u"-"_s;
    return QString::number(int(outcome.inputStates->widthEnabled))
        + QString::number(int(outcome.inputStates->heightEnabled));
}

class TestCodeGenerators : public QObject
{
    Q_OBJECT
private slots:
    void relatedSales_data();
    void relatedSales();
    void parseInteger_data();
    void parseInteger();
    void conversionFailure_data();
    void conversionFailure();
    void inputStates_data();
    void inputStates();
    void failingClick_data();
    void failingClick();
    void dividerBar_data();
    void dividerBar();
    void dividerBarKeepsPageWidthOfItsClick();
    void coupon_data();
    void coupon();
    void couponPanel();
};

void TestCodeGenerators::relatedSales_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("expected");

    const QString quarters = html(
        R"(<table width="100%" border="0"><tr><td>)"
        R"(<div style="width:25%;height:265px; float:left; overflow:hidden; margin-bottom:10px; )"
        R"(font-family:Microsoft YaHei; text-align:center">)"
        R"(<div style="font-size:18px;height:30px; color:#000; margin-top:15px;">自定义标题信息</div>)"
        R"(<div style="font-size:14px;height:25px; color:#666">自定义副标题</div>)"
        R"(<a style="text-decoration:none" href="#" target="_blank">)"
        R"(<img style="border:none" src="SamplePic02" alt=" 190.jpg"/></a></div>)"
        R"(<div style="width:25%;height:265px; float:left; overflow:hidden; margin-bottom:10px; )"
        R"(font-family:Microsoft YaHei; text-align:center">)"
        R"(<div style="font-size:18px;height:30px; color:#000; margin-top:15px;">自定义标题信息</div>)"
        R"(<div style="font-size:14px;height:25px; color:#666">自定义副标题</div>)"
        R"(<a style="text-decoration:none" href="#" target="_blank">)"
        R"(<img style="border:none" src="SamplePic02" alt=" 190.jpg"/></a></div>)"
        R"(<div style="width:25%;height:265px; float:left; overflow:hidden; margin-bottom:10px; )"
        R"(font-family:Microsoft YaHei; text-align:center">)"
        R"(<div style="font-size:18px;height:30px; color:#000; margin-top:15px;">自定义标题信息</div>)"
        R"(<div style="font-size:14px;height:25px; color:#666">自定义副标题</div>)"
        R"(<a style="text-decoration:none" href="#" target="_blank">)"
        R"(<img style="border:none" src="SamplePic02" alt=" 190.jpg"/></a></div>)"
        R"(<div style="width:25%;height:265px; float:left; overflow:hidden; margin-bottom:10px; )"
        R"(font-family:Microsoft YaHei; text-align:center">)"
        R"(<div style="font-size:18px;height:30px; color:#000; margin-top:15px;">自定义标题信息</div>)"
        R"(<div style="font-size:14px;height:25px; color:#666">自定义副标题</div>)"
        R"(<a style="text-decoration:none" href="#" target="_blank">)"
        R"(<img style="border:none" src="SamplePic02" alt=" 190.jpg"/></a></div></td></tr></table>)");

    QTest::newRow("默认样式 defaults")
        << 0 << u"180"_s << u"300"_s
        << html(R"(<table width="100%" border="0" height="365"><tr><td>)"
                R"(<div style="width:180px;height:365px; float:left; overflow:hidden; margin-bottom:10px;">)"
                R"(<a href="#" target="_blank">)"
                R"(<img src="SamplePic01" width = "180" height = "300" style="border:none" /></a>)"
                R"(<div style="font-size:14px;font-family:arial;">)"
                R"(<div style="line-height:30px; margin-top:5px; color:#666">自定义标题信息</div>)"
                R"(<div style="font-size:20px; color:#F30">)"
                R"(<span style="font-size:12px;font-family:Microsoft YaHei">￥</span>59.00</div></div></div>)"
                R"(<div style="width:180px;height:365px; float:left; overflow:hidden; )"
                R"(margin-bottom:10px;margin-left:10px;"><a href="#" target="_blank">)"
                R"(<img src="SamplePic01"  width = "180" height = "300"  style="border:none"  /></a>)"
                R"(<div style="font-size:14px;font-family:arial;">)"
                R"(<div style="line-height:30px; margin-top:5px; color:#666">自定义标题信息</div>)"
                R"(<div style="font-size:20px; color:#F30">)"
                R"(<span style="font-size:12px;font-family:Microsoft YaHei">￥</span>59.00</div></div></div>)"
                R"(<div style="width:180px;height:365px; float:left; overflow:hidden; )"
                R"(margin-bottom:10px;margin-left:10px;"><a href="#" target="_blank">)"
                R"(<img src="SamplePic01"  width = "180" height = "300"  style="border:none"  /></a>)"
                R"(<div style="font-size:14px;font-family:arial;">)"
                R"(<div style="line-height:30px; margin-top:5px; color:#666">自定义标题信息</div>)"
                R"(<div style="font-size:20px; color:#F30">)"
                R"(<span style="font-size:12px;font-family:Microsoft YaHei">￥</span>59.00</div></div></div>)"
                R"(<div style="width:180px;height:365px; float:left; overflow:hidden; )"
                R"(margin-bottom:10px;margin-left:10px;"><a href="#" target="_blank">)"
                R"(<img src="SamplePic01"  width = "180" height = "300"  style="border:none"  /></a>)"
                R"(<div style="font-size:14px;font-family:arial;">)"
                R"(<div style="line-height:30px; margin-top:5px; color:#666">自定义标题信息</div>)"
                R"(<div style="font-size:20px; color:#F30">)"
                R"(<span style="font-size:12px;font-family:Microsoft YaHei">￥</span>59.00</div></div></div></td>)"
                R"(</tr></table>)");
    QTest::newRow("图片样式 defaults")
        << 1 << u"180"_s << u"300"_s
        << html(R"(<table width="100%" border="0"><tr><td>)"
                R"(<div style="width:180px;height:300px; float:left; overflow:hidden; margin-bottom:10px;">)"
                R"(<a href="#" target="_blank"><img style="border:none" src="SamplePic01"  /></a></div>)"
                R"(<div style="width:180px;height:300px; float:left; overflow:hidden; margin-left:10px; )"
                R"(margin-bottom:10px;"><a href="#" target="_blank"><img style="border:none" src="SamplePic01" />)"
                R"(</a></div><div style="width:180px;height:300px; float:left; overflow:hidden; margin-left:10px; )"
                R"(margin-bottom:10px;"><a href="#" target="_blank"><img style="border:none" src="SamplePic01" />)"
                R"(</a></div><div style="width:180px;height:300px; float:left; overflow:hidden; margin-left:10px; )"
                R"(margin-bottom:10px;"><a href="#" target="_blank"><img style="border:none" src="SamplePic01" />)"
                R"(</a></div></td></tr></table>)");
    QTest::newRow("图文混排 defaults") << 2 << u"180"_s << u"300"_s << quarters;
    // The quarter block has no inputs: any convertible texts give the same row.
    QTest::newRow("图文混排 other values") << 2 << u"-7"_s << u"2147483647"_s << quarters;
    QTest::newRow("不规则图 defaults")
        << 3 << u"180"_s << u"300"_s
        << html(R"(<table width="100%" border="0"><tr><td>)"
                R"(<div style="width:180px; height:370px; overflow:hidden;float:left">)"
                R"(<a href="ShopHomeLink" target="_blank">)"
                R"(<img style="border:none"  src="SamplePic03" width="180" height="370"  alt=""/></a></div>)"
                R"(<div style="width:180px; height:370px; margin-left:10px;float:left">)"
                R"(<div style="width:180px; height:180px;"><a href="ShopHomeLink" target="_blank">)"
                R"(<img style="border:none"  src="SamplePic05" width="180" height="180"  alt=""/></a></div>)"
                R"(<div style="width:180px; height:180px; margin-top:10px"><a href="ShopHomeLink" target="_blank">)"
                R"(<img style="border:none"  src="SamplePic05" width="180" height="180"  alt=""/></a></div></div>)"
                R"(<div style="width:370px; height:370px; margin-left:10px;float:left">)"
                R"(<div style="width:180px; height:180px; float:left"><a href="ShopHomeLink" target="_blank">)"
                R"(<img style="border:none"  src="SamplePic05" width="180" height="180"  alt=""/></a></div>)"
                R"(<div style="width:180px; height:180px; float:left; margin-left:10px">)"
                R"(<a href="ShopHomeLink" target="_blank">)"
                R"(<img style="border:none"  src="SamplePic05" width="180" height="180"  alt=""/></a></div>)"
                R"(<div style="width:370px; height:180px; margin-top:10px;float:left">)"
                R"(<a href="ShopHomeLink" target="_blank">)"
                R"(<img style="border:none"  src="SamplePic04" width="370" height="180"  alt=""/></a></div></div>)"
                R"(</td></tr></table>)");
    // 4 x 190 + 30 = 790 wide; double width 390.
    QTest::newRow("不规则图 190")
        << 3 << u"190"_s << u"300"_s
        << html(R"(<table width="100%" border="0"><tr><td>)"
                R"(<div style="width:190px; height:390px; overflow:hidden;float:left">)"
                R"(<a href="ShopHomeLink" target="_blank">)"
                R"(<img style="border:none"  src="SamplePic03" width="190" height="390"  alt=""/></a></div>)"
                R"(<div style="width:190px; height:390px; margin-left:10px;float:left">)"
                R"(<div style="width:190px; height:190px;"><a href="ShopHomeLink" target="_blank">)"
                R"(<img style="border:none"  src="SamplePic05" width="190" height="190"  alt=""/></a></div>)"
                R"(<div style="width:190px; height:190px; margin-top:10px"><a href="ShopHomeLink" target="_blank">)"
                R"(<img style="border:none"  src="SamplePic05" width="190" height="190"  alt=""/></a></div></div>)"
                R"(<div style="width:390px; height:390px; margin-left:10px;float:left">)"
                R"(<div style="width:190px; height:190px; float:left"><a href="ShopHomeLink" target="_blank">)"
                R"(<img style="border:none"  src="SamplePic05" width="190" height="190"  alt=""/></a></div>)"
                R"(<div style="width:190px; height:190px; float:left; margin-left:10px">)"
                R"(<a href="ShopHomeLink" target="_blank">)"
                R"(<img style="border:none"  src="SamplePic05" width="190" height="190"  alt=""/></a></div>)"
                R"(<div style="width:390px; height:190px; margin-top:10px;float:left">)"
                R"(<a href="ShopHomeLink" target="_blank">)"
                R"(<img style="border:none"  src="SamplePic04" width="390" height="190"  alt=""/></a></div></div>)"
                R"(</td></tr></table>)");
    QTest::newRow("不规则图 most negative width")
        << 3 << u"-2147483648"_s << u"9"_s
        << html(R"(<table width="100%" border="0"><tr><td>)"
                R"(<div style="width:-2147483648px; height:-4294967286px; overflow:hidden;float:left">)"
                R"(<a href="ShopHomeLink" target="_blank">)"
                R"(<img style="border:none"  src="SamplePic03" width="-2147483648" height="-4294967286"  alt=""/>)"
                R"(</a></div><div style="width:-2147483648px; height:-4294967286px; margin-left:10px;float:left">)"
                R"(<div style="width:-2147483648px; height:-2147483648px;"><a href="ShopHomeLink" target="_blank">)"
                R"(<img style="border:none"  src="SamplePic05" width="-2147483648" height="-2147483648"  alt=""/>)"
                R"(</a></div><div style="width:-2147483648px; height:-2147483648px; margin-top:10px">)"
                R"(<a href="ShopHomeLink" target="_blank">)"
                R"(<img style="border:none"  src="SamplePic05" width="-2147483648" height="-2147483648"  alt=""/>)"
                R"(</a></div></div>)"
                R"(<div style="width:-4294967286px; height:-4294967286px; margin-left:10px;float:left">)"
                R"(<div style="width:-2147483648px; height:-2147483648px; float:left">)"
                R"(<a href="ShopHomeLink" target="_blank">)"
                R"(<img style="border:none"  src="SamplePic05" width="-2147483648" height="-2147483648"  alt=""/>)"
                R"(</a></div><div style="width:-2147483648px; height:-2147483648px; float:left; margin-left:10px">)"
                R"(<a href="ShopHomeLink" target="_blank">)"
                R"(<img style="border:none"  src="SamplePic05" width="-2147483648" height="-2147483648"  alt=""/>)"
                R"(</a></div><div style="width:-4294967286px; height:-2147483648px; margin-top:10px;float:left">)"
                R"(<a href="ShopHomeLink" target="_blank">)"
                R"(<img style="border:none"  src="SamplePic04" width="-4294967286" height="-2147483648"  alt=""/>)"
                R"(</a></div></div></td></tr></table>)");
    QTest::newRow("默认样式 height 0")
        << 0 << u"180"_s << u"0"_s
        << html(R"(<table width="100%" border="0" height="65"><tr><td>)"
                R"(<div style="width:180px;height:65px; float:left; overflow:hidden; margin-bottom:10px;">)"
                R"(<a href="#" target="_blank">)"
                R"(<img src="SamplePic01" width = "180" height = "0" style="border:none" /></a>)"
                R"(<div style="font-size:14px;font-family:arial;">)"
                R"(<div style="line-height:30px; margin-top:5px; color:#666">自定义标题信息</div>)"
                R"(<div style="font-size:20px; color:#F30">)"
                R"(<span style="font-size:12px;font-family:Microsoft YaHei">￥</span>59.00</div></div></div>)"
                R"(<div style="width:180px;height:65px; float:left; overflow:hidden; )"
                R"(margin-bottom:10px;margin-left:10px;"><a href="#" target="_blank">)"
                R"(<img src="SamplePic01"  width = "180" height = "0"  style="border:none"  /></a>)"
                R"(<div style="font-size:14px;font-family:arial;">)"
                R"(<div style="line-height:30px; margin-top:5px; color:#666">自定义标题信息</div>)"
                R"(<div style="font-size:20px; color:#F30">)"
                R"(<span style="font-size:12px;font-family:Microsoft YaHei">￥</span>59.00</div></div></div>)"
                R"(<div style="width:180px;height:65px; float:left; overflow:hidden; )"
                R"(margin-bottom:10px;margin-left:10px;"><a href="#" target="_blank">)"
                R"(<img src="SamplePic01"  width = "180" height = "0"  style="border:none"  /></a>)"
                R"(<div style="font-size:14px;font-family:arial;">)"
                R"(<div style="line-height:30px; margin-top:5px; color:#666">自定义标题信息</div>)"
                R"(<div style="font-size:20px; color:#F30">)"
                R"(<span style="font-size:12px;font-family:Microsoft YaHei">￥</span>59.00</div></div></div>)"
                R"(<div style="width:180px;height:65px; float:left; overflow:hidden; )"
                R"(margin-bottom:10px;margin-left:10px;"><a href="#" target="_blank">)"
                R"(<img src="SamplePic01"  width = "180" height = "0"  style="border:none"  /></a>)"
                R"(<div style="font-size:14px;font-family:arial;">)"
                R"(<div style="line-height:30px; margin-top:5px; color:#666">自定义标题信息</div>)"
                R"(<div style="font-size:20px; color:#F30">)"
                R"(<span style="font-size:12px;font-family:Microsoft YaHei">￥</span>59.00</div></div></div></td>)"
                R"(</tr></table>)");
    // Block height 2147483647 + 65 does not wrap; the width stays verbatim.
    QTest::newRow("默认样式 extremes")
        << 0 << u"-2147483648"_s << u"2147483647"_s
        << html(R"(<table width="100%" border="0" height="2147483712"><tr><td>)"
                R"(<div style="width:-2147483648px;height:2147483712px; float:left; overflow:hidden; )"
                R"(margin-bottom:10px;"><a href="#" target="_blank">)"
                R"(<img src="SamplePic01" width = "-2147483648" height = "2147483647" style="border:none" /></a>)"
                R"(<div style="font-size:14px;font-family:arial;">)"
                R"(<div style="line-height:30px; margin-top:5px; color:#666">自定义标题信息</div>)"
                R"(<div style="font-size:20px; color:#F30">)"
                R"(<span style="font-size:12px;font-family:Microsoft YaHei">￥</span>59.00</div></div></div>)"
                R"(<div style="width:-2147483648px;height:2147483712px; float:left; overflow:hidden; )"
                R"(margin-bottom:10px;margin-left:10px;"><a href="#" target="_blank">)"
                R"(<img src="SamplePic01"  width = "-2147483648" height = "2147483647"  style="border:none"  /></a>)"
                R"(<div style="font-size:14px;font-family:arial;">)"
                R"(<div style="line-height:30px; margin-top:5px; color:#666">自定义标题信息</div>)"
                R"(<div style="font-size:20px; color:#F30">)"
                R"(<span style="font-size:12px;font-family:Microsoft YaHei">￥</span>59.00</div></div></div>)"
                R"(<div style="width:-2147483648px;height:2147483712px; float:left; overflow:hidden; )"
                R"(margin-bottom:10px;margin-left:10px;"><a href="#" target="_blank">)"
                R"(<img src="SamplePic01"  width = "-2147483648" height = "2147483647"  style="border:none"  /></a>)"
                R"(<div style="font-size:14px;font-family:arial;">)"
                R"(<div style="line-height:30px; margin-top:5px; color:#666">自定义标题信息</div>)"
                R"(<div style="font-size:20px; color:#F30">)"
                R"(<span style="font-size:12px;font-family:Microsoft YaHei">￥</span>59.00</div></div></div>)"
                R"(<div style="width:-2147483648px;height:2147483712px; float:left; overflow:hidden; )"
                R"(margin-bottom:10px;margin-left:10px;"><a href="#" target="_blank">)"
                R"(<img src="SamplePic01"  width = "-2147483648" height = "2147483647"  style="border:none"  /></a>)"
                R"(<div style="font-size:14px;font-family:arial;">)"
                R"(<div style="line-height:30px; margin-top:5px; color:#666">自定义标题信息</div>)"
                R"(<div style="font-size:20px; color:#F30">)"
                R"(<span style="font-size:12px;font-family:Microsoft YaHei">￥</span>59.00</div></div></div></td>)"
                R"(</tr></table>)");
    // Signed texts are written as typed, not normalised.
    QTest::newRow("图片样式 signs")
        << 1 << u"+5"_s << u"-0"_s
        << html(R"(<table width="100%" border="0"><tr><td>)"
                R"(<div style="width:+5px;height:-0px; float:left; overflow:hidden; margin-bottom:10px;">)"
                R"(<a href="#" target="_blank"><img style="border:none" src="SamplePic01"  /></a></div>)"
                R"(<div style="width:+5px;height:-0px; float:left; overflow:hidden; margin-left:10px; )"
                R"(margin-bottom:10px;"><a href="#" target="_blank"><img style="border:none" src="SamplePic01" />)"
                R"(</a></div><div style="width:+5px;height:-0px; float:left; overflow:hidden; margin-left:10px; )"
                R"(margin-bottom:10px;"><a href="#" target="_blank"><img style="border:none" src="SamplePic01" />)"
                R"(</a></div><div style="width:+5px;height:-0px; float:left; overflow:hidden; margin-left:10px; )"
                R"(margin-bottom:10px;"><a href="#" target="_blank"><img style="border:none" src="SamplePic01" />)"
                R"(</a></div></td></tr></table>)");
    // No style chosen: both texts convert, nothing is built.
    QTest::newRow("no style") << -1 << u"+5"_s << u"-0"_s << QString();
}

void TestCodeGenerators::relatedSales()
{
    QFETCH(int, style);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, expected);

    const BuildResult r = ::relatedSales(style, relatedInputs(width, height));
    QVERIFY2(r.ok(), qPrintable(r.error()));
    QCOMPARE(r.value().value_or(QString()), expected);
}

void TestCodeGenerators::parseInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");

    QTest::newRow("zero") << u"0"_s << true << 0;
    QTest::newRow("minus zero") << u"-0"_s << true << 0;
    QTest::newRow("plus") << u"+5"_s << true << 5;
    QTest::newRow("leading zeros") << u"007"_s << true << 7;
    QTest::newRow("max") << u"2147483647"_s << true << 2147483647;
    QTest::newRow("min") << u"-2147483648"_s << true << int(-2147483647 - 1);
    QTest::newRow("max + 1") << u"2147483648"_s << false << 0;
    QTest::newRow("min - 1") << u"-2147483649"_s << false << 0;
    QTest::newRow("20 digits") << u"99999999999999999999"_s << false << 0;
    QTest::newRow("empty") << QString() << false << 0;
    QTest::newRow("sign alone") << u"-"_s << false << 0;
    QTest::newRow("two signs") << u"+-1"_s << false << 0;
    QTest::newRow("letters") << u"abc"_s << false << 0;
    QTest::newRow("leading blank") << u" 12"_s << false << 0;
    QTest::newRow("trailing blank") << u"12 "_s << false << 0;
    QTest::newRow("inner blank") << u"1 2"_s << false << 0;
    QTest::newRow("tab") << u"\t12"_s << false << 0;
    QTest::newRow("hexadecimal") << u"0x10"_s << false << 0;
    QTest::newRow("exponent") << u"1e3"_s << false << 0;
    QTest::newRow("decimal point") << u"12.0"_s << false << 0;
    QTest::newRow("arabic-indic digits") << u"١٢"_s << false << 0;
    QTest::newRow("full-width digits") << u"１２"_s << false << 0;
}

void TestCodeGenerators::parseInteger()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);

    const std::optional<qint32> r = ::parseInteger(text);
    QCOMPARE(r.has_value(), valid);
    if (valid)
        QCOMPARE(*r, value);
}

void TestCodeGenerators::conversionFailure_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("reported");

    QTest::newRow("height letters") << 0 << u"180"_s << u"abc"_s << u"abc"_s;
    QTest::newRow("width letters") << 1 << u"abc"_s << u"300"_s << u"abc"_s;
    QTest::newRow("empty height") << 0 << u"180"_s << QString() << QString();
    QTest::newRow("empty width") << 0 << QString() << u"300"_s << QString();
    QTest::newRow("width leading blank") << 1 << u" 12"_s << u"300"_s << u" 12"_s;
    QTest::newRow("height trailing blank") << 1 << u"180"_s << u"12 "_s << u"12 "_s;
    QTest::newRow("hexadecimal") << 0 << u"0x10"_s << u"300"_s << u"0x10"_s;
    QTest::newRow("out of range") << 0 << u"180"_s << u"2147483648"_s << u"2147483648"_s;
    QTest::newRow("exponent") << 3 << u"1e3"_s << u"300"_s << u"1e3"_s;
    QTest::newRow("arabic-indic digits") << 0 << u"١٢"_s << u"300"_s << u"١٢"_s;
    // Both fail: the height is converted first.
    QTest::newRow("both fail") << 0 << u"w"_s << u"h"_s << u"h"_s;
    // Converted even where the style does not use the value.
    QTest::newRow("图文混排 checks height") << 2 << u"180"_s << u"abc"_s << u"abc"_s;
    QTest::newRow("图文混排 checks width") << 2 << u"abc"_s << u"300"_s << u"abc"_s;
    QTest::newRow("不规则图 checks height") << 3 << u"190"_s << u"x"_s << u"x"_s;
    QTest::newRow("no style checks too") << -1 << u"180"_s << u"x"_s << u"x"_s;
    // Placeholders in the user's text are not expanded.
    QTest::newRow("percent text") << 0 << u"%2"_s << u"%1"_s << u"%1"_s;
}

void TestCodeGenerators::conversionFailure()
{
    QFETCH(int, style);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, reported);

    const BuildResult r = ::relatedSales(style, relatedInputs(width, height));
    QVERIFY(!r.ok());
    QCOMPARE(r.error(), notAnInteger(reported));
}

// Steps: "0".."3" click a style, "b" click beside the items, "c" clear the
// choice. Per step the enabled states reported ("WH", 1 = enabled) or "-" when
// the generator did not run.
void TestCodeGenerators::inputStates_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("states");

    QTest::newRow("beside with no style") << QStringList{u"b"_s} << QStringList{u"11"_s};
    QTest::newRow("all styles") << QStringList{u"2"_s, u"3"_s, u"0"_s, u"2"_s, u"1"_s}
                                << QStringList{u"00"_s, u"10"_s, u"11"_s, u"00"_s, u"11"_s};
    QTest::newRow("chosen style again") << QStringList{u"2"_s, u"2"_s} << QStringList{u"00"_s, u"-"_s};
    QTest::newRow("beside keeps the style") << QStringList{u"3"_s, u"b"_s} << QStringList{u"10"_s, u"10"_s};
    QTest::newRow("cleared, then beside")
        << QStringList{u"3"_s, u"c"_s, u"b"_s} << QStringList{u"10"_s, u"-"_s, u"11"_s};
    QTest::newRow("cleared, then same style")
        << QStringList{u"2"_s, u"c"_s, u"2"_s} << QStringList{u"00"_s, u"-"_s, u"00"_s};
}

void TestCodeGenerators::inputStates()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, states);

    TemporaryWorkspace t;
    SectionFrame &frame = t.ws.section(RelatedSalesSection);
    const SectionInputs in = relatedInputs(u"180"_s, u"300"_s);
    for (int i = 0; i < steps.size(); ++i) {
        ClickOutcome outcome;
        if (steps[i] == u"b")
            outcome = frame.clickBeside(in);
        else if (steps[i] == u"c")
            frame.clearChoice();
        else
            outcome = frame.clickStyle(steps[i].toInt(), in);
        QCOMPARE(statesText(outcome), states[i]);
        QVERIFY(outcome.error().isEmpty());
    }
}

void TestCodeGenerators::failingClick_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("reported");
    QTest::addColumn<QString>("states");

    QTest::newRow("图文混排") << 2 << u"180"_s << u"abc"_s << u"abc"_s << u"00"_s;
    // The inputs are enabled again before the failure, so the user can fix them.
    QTest::newRow("默认样式") << 0 << u"180"_s << u"abc"_s << u"abc"_s << u"11"_s;
    QTest::newRow("不规则图") << 3 << u"190"_s << QString() << QString() << u"10"_s;
    QTest::newRow("图片样式 both fail") << 1 << u"1e3"_s << u"12 "_s << u"12 "_s << u"11"_s;
}

// A failed conversion reports the new enabled states and the error, and keeps
// the code edit, the memo and the preview file of the last good build.
void TestCodeGenerators::failingClick()
{
    QFETCH(int, style);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, reported);
    QFETCH(QString, states);

    TemporaryWorkspace t;
    SectionFrame &frame = t.ws.section(RelatedSalesSection);
    QVERIFY(frame.clickStyle(style, relatedInputs(u"180"_s, u"300"_s)).error().isEmpty());
    const QString code = frame.code();
    const QByteArray file = t.preview();
    QCOMPARE(t.ws.output().memo(), code);

    frame.clearChoice(); // as a change of the width or height does
    const ClickOutcome outcome = frame.clickStyle(style, relatedInputs(width, height));
    QVERIFY(outcome.ran);
    QCOMPARE(outcome.error(), notAnInteger(reported));
    QCOMPARE(statesText(outcome), states);
    QVERIFY(outcome.preview && !*outcome.preview); // reported; nothing was written
    QCOMPARE(frame.code(), code);
    QCOMPARE(t.ws.output().memo(), code);
    QCOMPARE(t.preview(), file);
    QCOMPARE(frame.choice(), style);
}

void TestCodeGenerators::dividerBar_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("pageWidth");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    const QString w750 = u"750"_s, w790 = u"790"_s, black = u"#000"_s, label = u"自定义标签"_s;
    const QString red = colourText(255, 0, 0);
    QCOMPARE(red, u"#FF0000"_s);

    QTest::newRow("标准样式 defaults")
        << 0 << w750 << black << label
        << html(R"(<table width="100%" border="0"><tr><td>)"
                R"(<div style="height:35px;width:750px; line-height:35px; background-color:#000; font-size:16px; )"
                R"(font-family:Microsoft YaHei; padding-left:15px; color:#FFF;font-weight:600; )"
                R"(margin-bottom:20px;margin-top:20px;">自定义标签</div></td></tr></table>)");
    QTest::newRow("版块分割 defaults")
        << 1 << w750 << black << label
        << html(R"(<table width="100%" border="0"><tr><td>)"
                R"(<div style="height:80px;width:750px;  line-height:80px; font-size:33px; font-family:Microsoft )"
                R"(YaHei; padding-left:15px; color:#fff;font-weight:100; text-align:center; )"
                R"(background-color:#000;margin-bottom:20px;margin-top:20px;"> &equiv; 自定义标签 &equiv; </div></td>)"
                R"(</tr></table>)");
    QTest::newRow("个性居中 defaults")
        << 2 << w750 << black << label
        << html(R"(<table width="100%" border="0"><tr><td>)"
                R"(<table style="margin-top:20px;" width="750" height="120" border="0" cellpadding="0" )"
                R"(cellspacing="0"><tr><td align="center" valign="top">)"
                R"(<div style="height:100px; width:100px; background-color:#000; text-align:center; )"
                R"(line-height:100px; font-size:50px; color:#FFF; font-family:Impact;border:3px )"
                R"(solid;border-radius:20px;-moz-border-radius:20px;">01</div></td></tr></table>)"
                R"(<div style="line-height:40px; font-size:36px; font-family:Microsoft YaHei;text-align:center; )"
                R"(color:#666">— 自定义标签 —</div>)"
                R"( <div style="line-height:40px; font-size:16px;text-align:center;font-family:Microsoft YaHei; )"
                R"(color:#999;margin-bottom:20px;">这里是一段简介信息部分，简介描述标题信息</div></td></tr></table>)");
    QTest::newRow("简约直线 defaults")
        << 3 << w750 << black << label
        << html(
               R"(<table width="100%" border="0"><tr><td>)"
               R"(<div style="width:750px; height:47px; border-bottom:3px #000 )"
               R"(solid;margin-bottom:20px;margin-top:20px;">)"
               R"(<div style=" height:40px;line-height:40px; font-size:16px;font-family:Microsoft YaHei; )"
               R"(border-bottom:#000 1px   dotted">)"
               R"(<div style="font-size:23px; color:#000; line-height:40px; float:left"> 自定义标签 </div>)"
               R"(<div  style="font-size:14px; float:right; color:#999;line-height:40px;">我们带给您的，只有精品 ! </div>)"
               R"(</div></div></td></tr></table>)");
    QTest::newRow("版块分割 790")
        << 1 << w790 << black << label
        << html(R"(<table width="100%" border="0"><tr><td>)"
                R"(<div style="height:80px;width:790px;  line-height:80px; font-size:33px; font-family:Microsoft )"
                R"(YaHei; padding-left:15px; color:#fff;font-weight:100; text-align:center; )"
                R"(background-color:#000;margin-bottom:20px;margin-top:20px;"> &equiv; 自定义标签 &equiv; </div></td>)"
                R"(</tr></table>)");
    QTest::newRow("个性居中 790")
        << 2 << w790 << black << label
        << html(R"(<table width="100%" border="0"><tr><td>)"
                R"(<table style="margin-top:20px;" width="790" height="120" border="0" cellpadding="0" )"
                R"(cellspacing="0"><tr><td align="center" valign="top">)"
                R"(<div style="height:100px; width:100px; background-color:#000; text-align:center; )"
                R"(line-height:100px; font-size:50px; color:#FFF; font-family:Impact;border:3px )"
                R"(solid;border-radius:20px;-moz-border-radius:20px;">01</div></td></tr></table>)"
                R"(<div style="line-height:40px; font-size:36px; font-family:Microsoft YaHei;text-align:center; )"
                R"(color:#666">— 自定义标签 —</div>)"
                R"( <div style="line-height:40px; font-size:16px;text-align:center;font-family:Microsoft YaHei; )"
                R"(color:#999;margin-bottom:20px;">这里是一段简介信息部分，简介描述标题信息</div></td></tr></table>)");
    // The name goes in unescaped.
    QTest::newRow("标准样式 red, markup name")
        << 0 << w790 << red << u"<b>&amp;"_s
        << html(R"(<table width="100%" border="0"><tr><td>)"
                R"(<div style="height:35px;width:790px; line-height:35px; background-color:#FF0000; )"
                R"(font-size:16px; font-family:Microsoft YaHei; padding-left:15px; color:#FFF;font-weight:600; )"
                R"(margin-bottom:20px;margin-top:20px;"><b>&amp;</div></td></tr></table>)");
    QTest::newRow("版块分割 empty name")
        << 1 << w750 << black << QString()
        << html(R"(<table width="100%" border="0"><tr><td>)"
                R"(<div style="height:80px;width:750px;  line-height:80px; font-size:33px; font-family:Microsoft )"
                R"(YaHei; padding-left:15px; color:#fff;font-weight:100; text-align:center; )"
                R"(background-color:#000;margin-bottom:20px;margin-top:20px;"> &equiv;  &equiv; </div></td></tr>)"
                R"(</table>)");
    // Dash, two blanks, dash.
    QTest::newRow("个性居中 empty name")
        << 2 << w750 << black << QString()
        << html(R"(<table width="100%" border="0"><tr><td>)"
                R"(<table style="margin-top:20px;" width="750" height="120" border="0" cellpadding="0" )"
                R"(cellspacing="0"><tr><td align="center" valign="top">)"
                R"(<div style="height:100px; width:100px; background-color:#000; text-align:center; )"
                R"(line-height:100px; font-size:50px; color:#FFF; font-family:Impact;border:3px )"
                R"(solid;border-radius:20px;-moz-border-radius:20px;">01</div></td></tr></table>)"
                R"(<div style="line-height:40px; font-size:36px; font-family:Microsoft YaHei;text-align:center; )"
                R"(color:#666">—  —</div>)"
                R"( <div style="line-height:40px; font-size:16px;text-align:center;font-family:Microsoft YaHei; )"
                R"(color:#999;margin-bottom:20px;">这里是一段简介信息部分，简介描述标题信息</div></td></tr></table>)");
    // The colour in all three places.
    QTest::newRow("简约直线 red")
        << 3 << w790 << red << u"a<b&c"_s
        << html(
               R"(<table width="100%" border="0"><tr><td>)"
               R"(<div style="width:790px; height:47px; border-bottom:3px #FF0000 )"
               R"(solid;margin-bottom:20px;margin-top:20px;">)"
               R"(<div style=" height:40px;line-height:40px; font-size:16px;font-family:Microsoft YaHei; )"
               R"(border-bottom:#FF0000 1px   dotted">)"
               R"(<div style="font-size:23px; color:#FF0000; line-height:40px; float:left"> a<b&c </div>)"
               R"(<div  style="font-size:14px; float:right; color:#999;line-height:40px;">我们带给您的，只有精品 ! </div>)"
               R"(</div></div></td></tr></table>)");
}

void TestCodeGenerators::dividerBar()
{
    QFETCH(int, style);
    QFETCH(QString, pageWidth);
    QFETCH(QString, colour);
    QFETCH(QString, name);
    QFETCH(QString, expected);

    SectionInputs in;
    in.pageWidth = pageWidth;
    in.colour = colour;
    in.name = name;
    const BuildResult r = ::dividerBar(style, in);
    QVERIFY(r.ok());
    QVERIFY(r.value());
    QCOMPARE(*r.value(), expected);

    QVERIFY(!::dividerBar(-1, in).value());
}

// A snippet keeps the page width of the click that built it; the shop type
// only reaches the next build.
void TestCodeGenerators::dividerBarKeepsPageWidthOfItsClick()
{
    TemporaryWorkspace t;
    SectionFrame &frame = t.ws.section(DividerBarSection);
    SectionInputs in;
    in.colour = u"#000"_s;
    in.name = u"自定义标签"_s;
    in.pageWidth = t.ws.pageWidth();
    QVERIFY(frame.clickStyle(0, in).error().isEmpty());
    const QString built750 = frame.code();
    QVERIFY(built750.contains(u"width:750px;"_s));

    t.ws.chooseShopType(1);
    QCOMPARE(t.ws.pageWidth(), u"790"_s);
    QCOMPARE(frame.code(), built750);

    in.pageWidth = t.ws.pageWidth();
    QVERIFY(frame.clickStyle(1, in).error().isEmpty());
    QVERIFY(frame.code().contains(u"width:790px;"_s));
}

void TestCodeGenerators::coupon_data()
{
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QString>("expected");

    QTest::newRow("default")
        << u"#000"_s
        << html(R"(<a style="color:#FFF;text-decoration:none" href="#优惠券链接" target="_blank">)"
                R"(<table width="98%" border="0" cellpadding="0" cellspacing="0" bgcolor="#000"><tr><td>)"
                R"(<div style="font-size:18px; float:left; font-family:Microsoft YaHei; margin-top:15px; )"
                R"(padding-left:10px;color:#fff"> ￥</div></td><td rowspan="2">)"
                R"(<div style="font-family:Arial; font-size:72px; float:left; font-weight:700; )"
                R"(line-height:90px;;color:#fff"> 10</div></td><td>)"
                R"(<div style="font-size:20px; float:left; font-family:Microsoft YaHei; margin-top:10px; )"
                R"(margin-left:10px; width:110px; line-height:35px;;color:#fff">优惠券</div></td></tr><tr><td>)"
                R"(&nbsp;</td><td valign="top"><div style="font-size:14px; float:left; font-family:Microsoft )"
                R"(YaHei;margin-left:10px;width:110px; background-color:#FFF; line-height:25px; )"
                R"(text-align:center;"><span style="color:#000">满200元使用</span></div></td></tr></table></a>)");
    QTest::newRow("chooser red")
        << colourText(255, 0, 0)
        << html(R"(<a style="color:#FFF;text-decoration:none" href="#优惠券链接" target="_blank">)"
                R"(<table width="98%" border="0" cellpadding="0" cellspacing="0" bgcolor="#FF0000"><tr><td>)"
                R"(<div style="font-size:18px; float:left; font-family:Microsoft YaHei; margin-top:15px; )"
                R"(padding-left:10px;color:#fff"> ￥</div></td><td rowspan="2">)"
                R"(<div style="font-family:Arial; font-size:72px; float:left; font-weight:700; )"
                R"(line-height:90px;;color:#fff"> 10</div></td><td>)"
                R"(<div style="font-size:20px; float:left; font-family:Microsoft YaHei; margin-top:10px; )"
                R"(margin-left:10px; width:110px; line-height:35px;;color:#fff">优惠券</div></td></tr><tr><td>)"
                R"(&nbsp;</td><td valign="top"><div style="font-size:14px; float:left; font-family:Microsoft )"
                R"(YaHei;margin-left:10px;width:110px; background-color:#FFF; line-height:25px; )"
                R"(text-align:center;"><span style="color:#FF0000">满200元使用</span></div></td></tr></table></a>)");
    QTest::newRow("empty")
        << QString()
        << html(R"(<a style="color:#FFF;text-decoration:none" href="#优惠券链接" target="_blank">)"
                R"(<table width="98%" border="0" cellpadding="0" cellspacing="0" bgcolor=""><tr><td>)"
                R"(<div style="font-size:18px; float:left; font-family:Microsoft YaHei; margin-top:15px; )"
                R"(padding-left:10px;color:#fff"> ￥</div></td><td rowspan="2">)"
                R"(<div style="font-family:Arial; font-size:72px; float:left; font-weight:700; )"
                R"(line-height:90px;;color:#fff"> 10</div></td><td>)"
                R"(<div style="font-size:20px; float:left; font-family:Microsoft YaHei; margin-top:10px; )"
                R"(margin-left:10px; width:110px; line-height:35px;;color:#fff">优惠券</div></td></tr><tr><td>)"
                R"(&nbsp;</td><td valign="top"><div style="font-size:14px; float:left; font-family:Microsoft )"
                R"(YaHei;margin-left:10px;width:110px; background-color:#FFF; line-height:25px; )"
                R"(text-align:center;"><span style="color:">满200元使用</span></div></td></tr></table></a>)");
}

void TestCodeGenerators::coupon()
{
    QFETCH(QString, colour);
    QFETCH(QString, expected);

    QCOMPARE(couponBlock(colour), expected);
    SectionInputs in;
    in.colour = colour;
    const BuildResult r = ::coupon(0, in);
    QVERIFY(r.value());
    QCOMPARE(*r.value(), expected);
    QVERIFY(!::coupon(-1, in).value());
}

// The style click previews three blocks side by side without the memo; Add
// hands over one block.
void TestCodeGenerators::couponPanel()
{
    TemporaryWorkspace t;
    SectionFrame &frame = t.ws.section(CouponSection);
    SectionInputs in;
    in.colour = u"#000"_s;
    const QString block = html(
        R"(<a style="color:#FFF;text-decoration:none" href="#优惠券链接" target="_blank">)"
        R"(<table width="98%" border="0" cellpadding="0" cellspacing="0" bgcolor="#000"><tr><td>)"
        R"(<div style="font-size:18px; float:left; font-family:Microsoft YaHei; margin-top:15px; )"
        R"(padding-left:10px;color:#fff"> ￥</div></td><td rowspan="2">)"
        R"(<div style="font-family:Arial; font-size:72px; float:left; font-weight:700; )"
        R"(line-height:90px;;color:#fff"> 10</div></td><td>)"
        R"(<div style="font-size:20px; float:left; font-family:Microsoft YaHei; margin-top:10px; )"
        R"(margin-left:10px; width:110px; line-height:35px;;color:#fff">优惠券</div></td></tr><tr><td>)"
        R"(&nbsp;</td><td valign="top"><div style="font-size:14px; float:left; font-family:Microsoft )"
        R"(YaHei;margin-left:10px;width:110px; background-color:#FFF; line-height:25px; )"
        R"(text-align:center;"><span style="color:#000">满200元使用</span></div></td></tr></table></a>)");

    const ClickOutcome outcome = frame.clickStyle(0, in);
    QVERIFY(outcome.preview && outcome.preview->ok());
    QCOMPARE(frame.code(), block);
    QCOMPARE(t.ws.output().memo(), u"mmo1"_s);
    const QString page = QLatin1String(R"(<table width="100%" border="0"><tr><td>)") % block
        % QLatin1String("</td><td>") % block % QLatin1String("</td><td>") % block
        % QLatin1String("</td></tr></table>\r\n");
    QCOMPARE(t.preview(), ScratchPlatform::encode(page));

    const Result<GeneratedItem> item = frame.add(in);
    QVERIFY(item);
    t.ws.items().append(item->snippet, item->name);
    QCOMPARE(t.ws.items().snippets(), QStringList{block});
    QCOMPARE(t.ws.items().names(), QStringList{u"  默认样式-优惠券"_s});
}

QTEST_APPLESS_MAIN(TestCodeGenerators)
#include "test_code_generators.moc"
