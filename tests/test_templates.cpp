#include "Generators.h"
#include "SampleAddresses.h"
#include "ScratchPlatform.h"
#include "Templates.h"
#include "TestSupport.h"
#include "Workspace.h"

#include <QRegularExpression>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(TemplateId)

namespace {

// The one-line picture-list snippets, with the sample address as its token.
constexpr char16_t singleRowSnippet[] =
    uR"t(<table  style="font-family:Microsoft YaHei; font-size:16px" width="100%" border="0" cellpadding="0" cellspacing="0"><tr><td height="100"><img src="SamplePic13" alt=" 750-1.jpg"/></td></tr><tr><td height="65">【 钉扣设计 】隐藏的钉扣设计简单实用又不影响全衣美感，更能体现全衣的极简品质。！</td></tr></table>)t";
constexpr char16_t twoPictureSnippet[] =
    uR"t(<table width="100%" border="0"><tr><td align="left"><img src="SamplePic10" alt=" 385-1.jpg"/></td><td align="right"><img src="SamplePic10" alt=" 385-1.jpg"/></td></tr></table>)t";

const QRegularExpression &sampleToken()
{
    static const QRegularExpression token(QStringLiteral("Sample(Pic\\d\\d|Place)"));
    return token;
}

QString withAddress(QString text, QStringView address)
{
    return text.replace(sampleToken(), address.toString());
}

QByteArray resourceBytes(const QString &name)
{
    QFile file(QLatin1String(":/templates/") % name % QLatin1String(".html"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Lines as a text file counts them: a final CR LF ends the last line.
QStringList linesOf(const QString &text)
{
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (text.endsWith(QLatin1String("\r\n")))
        lines.removeLast();
    return lines;
}

int trailingBreaks(QStringView text)
{
    int n = 0;
    for (; text.endsWith(u"\r\n"); text.chop(2))
        ++n;
    return n;
}

bool onlyCrLf(const QString &text)
{
    const qsizetype pairs = text.count(QLatin1String("\r\n"));
    return text.count(u'\r') == pairs && text.count(u'\n') == pairs;
}

} // namespace

class TestTemplates : public QObject
{
    Q_OBJECT
private slots:
    void templateFile_data();
    void templateFile();
    void templateLine_data();
    void templateLine();
    void pictureSnippet_data();
    void pictureSnippet();
    void addThroughFrame_data();
    void addThroughFrame();
    void noChoiceKeepsCode_data();
    void noChoiceKeepsCode();
    void styleSwitchReplaces_data();
    void styleSwitchReplaces();
    void bundleAddedTwice();
};

// Byte lengths are those of the UTF-8 resource files, tokens unreplaced, so
// they do not move when a sample address changes.
void TestTemplates::templateFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<TemplateId>("id");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("breaksAtEnd");

    const auto row = [](const char *name, TemplateId id, int bytes, int lines, int breaks) {
        QTest::newRow(name) << QString::fromLatin1(name) << id << bytes << lines << breaks;
    };
    row("lbl003", TemplateId::Lbl003, 2254, 41, 0);
    row("lblcanshu2", TemplateId::LblCanshu2, 1846, 39, 1);
    row("lblcanshu3", TemplateId::LblCanshu3, 4485, 83, 1);
    row("lblmorenchima", TemplateId::LblMorenChima, 1877, 38, 2);
    row("lbltuwen2", TemplateId::LblTuwen2, 686, 10, 0);
    row("lbltuwen3", TemplateId::LblTuwen3, 1372, 21, 0);
    row("lblxijie01", TemplateId::LblXijie01, 1774, 32, 1);
    row("lbldapei", TemplateId::LblDapei, 828, 12, 0);
    row("lblbidu", TemplateId::LblBidu, 4369, 35, 0);
    row("lblwenda", TemplateId::LblWenda, 3414, 34, 1);
}

void TestTemplates::templateFile()
{
    QFETCH(QString, name);
    QFETCH(TemplateId, id);
    QFETCH(int, bytes);
    QFETCH(int, lines);
    QFETCH(int, breaksAtEnd);

    const QByteArray raw = resourceBytes(name);
    QCOMPARE(raw.size(), bytes);
    QVERIFY(!raw.startsWith("\xEF\xBB\xBF"));

    const QString &text = templateText(id);
    QVERIFY(onlyCrLf(text));
    QCOMPARE(linesOf(text).size(), lines);
    QCOMPARE(trailingBreaks(text), breaksAtEnd);
    QVERIFY2(!text.contains(sampleToken()), "a sample token was left in the text");
    QCOMPARE(&templateText(id), &text); // loaded once, the same text every time
}

// Lines that are easy to get wrong: runs of two blanks, trailing blanks,
// full-width against ASCII punctuation, the separator lines and the sample
// addresses. Each is checked in the resource and, with the address filled
// in, in the text the generators hand out.
void TestTemplates::templateLine_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<TemplateId>("id");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("address");

    const auto row = [](const char *name, int line, TemplateId id, const char16_t *expected,
                        const char16_t *address = u"") {
        QTest::addRow("%s line %d", name, line)
            << QString::fromLatin1(name) << id << line << QString::fromUtf16(expected) << QString::fromUtf16(address);
    };
    // Each line of a template stands whole on one line here.
    // clang-format off
    row("lbl003", 1, TemplateId::Lbl003, uR"t(<table style="border-collapse:collapse;" width="790" border="1" bordercolor="#E6E6E6" cellpadding="0" cellspacing="0">)t");
    row("lbl003", 3, TemplateId::Lbl003, uR"t(    <td><img style="margin:10px;" src="SamplePic07" alt=" 380.jpg" width="350" height="350"/></td>)t", SampleAddresses::SamplePic07);
    row("lbl003", 10, TemplateId::Lbl003, uR"t(    <table style="font-size:14px; color:#333;border-collapse:collapse; color:#666; margin:10px;" width="90%" border="1"  bordercolor="#E6E6E6" cellpadding="0" cellspacing="0" >)t");
    row("lbl003", 33, TemplateId::Lbl003, uR"t(        <td width="83%" height="35" align="left" valign="middle">&nbsp;&nbsp;&nbsp;SamplePlace</td>)t", SampleAddresses::SamplePlace);
    row("lbl003", 37, TemplateId::Lbl003, uR"t(        <td height="35" align="left" valign="middle"><span style="line-height:25px; font-size:14px;color:#666">&nbsp;&nbsp;&nbsp;侧图片尺寸为 350*350 </span></td>)t");
    row("lbl003", 41, TemplateId::Lbl003, uR"t(</table>)t");
    row("lblcanshu2", 1, TemplateId::LblCanshu2, uR"t(<table style="border-collapse: collapse; font-size:14px; color:#666" width="100%"  border="1" bordercolor="#DFDFDF" cellpadding="0" cellspacing="0" >)t");
    row("lblcanshu2", 5, TemplateId::LblCanshu2, uR"t(    <td width="300" colspan="4" rowspan="9" align="center" valign="middle"><img src="SamplePic11" alt=" 300-300.jpg"/></td>)t", SampleAddresses::SamplePic11);
    row("lblcanshu2", 17, TemplateId::LblCanshu2, uR"t(    <td height="33"> &nbsp;&nbsp;&nbsp;19.9</td>)t");
    row("lblcanshu2", 39, TemplateId::LblCanshu2, uR"t(  </table>)t");
    row("lblcanshu3", 1, TemplateId::LblCanshu3, uR"t(<table style="border-collapse:collapse; color:#666 " width="100%" border="0" bordercolor="#cccccc" cellpadding="0" cellspacing="0">)t");
    row("lblcanshu3", 3, TemplateId::LblCanshu3, uR"t(    <td width="420"><img src="SamplePic08" width="420" height="720" style="margin:0px;"/></td>)t", SampleAddresses::SamplePic08);
    row("lblcanshu3", 9, TemplateId::LblCanshu3, uR"t(      <table style="font-size: 14px; border-collapse: collapse; color: #333" width="80%" border="1" bordercolor="#DFDFDF" cellpadding="0" cellspacing="0">)t");
    row("lblcanshu3", 27, TemplateId::LblCanshu3, uR"t(        <td height="35" align="left" valign="middle">&nbsp;&nbsp;蓝色 / 红色 /黑色</td>)t");
    row("lblcanshu3", 38, TemplateId::LblCanshu3, uR"t(      <br>)t");
    row("lblcanshu3", 41, TemplateId::LblCanshu3, uR"t(          <td height="35" colspan="2" align="center" valign="middle"  bgcolor="#DFDFDF"><span style="font-size:15px;color:#000; font-weight:700;font-family: Microsoft YaHei; ">产品指数</span></td>)t");
    row("lblcanshu3", 60, TemplateId::LblCanshu3, uR"t(    <br>)t");
    row("lblcanshu3", 63, TemplateId::LblCanshu3, uR"t(        <td height="35"  bgcolor="#DFDFDF" colspan="2" align="center" valign="middle"><span style="font-size:15px;color:#000; font-weight:700;font-family: Microsoft YaHei;">洗涤说明</span></td>)t");
    row("lblmorenchima", 2, TemplateId::LblMorenChima, uR"t(  <tr style=" font-weight:700; color:#FFF">)t");
    row("lblmorenchima", 3, TemplateId::LblMorenChima, uR"t(    <td height="28" align="center" valign="middle" bgcolor="#666666" >尺码</td>)t");
    row("lblmorenchima", 37, TemplateId::LblMorenChima, uR"t(</table>)t");
    row("lblmorenchima", 38, TemplateId::LblMorenChima, uR"t()t");
    row("lbltuwen2", 1, TemplateId::LblTuwen2, uR"t(<table  style="font-family:Microsoft YaHei; font-size:15px" width="100%" border="0" cellpadding="0" cellspacing="0">)t");
    row("lbltuwen2", 4, TemplateId::LblTuwen2, uR"t(    <td width="50%" height="28" align="left"><img src="SamplePic10" alt=" 750-1.jpg" width="385"/></td>)t", SampleAddresses::SamplePic10);
    row("lbltuwen2", 8, TemplateId::LblTuwen2, uR"t(    <td style="padding:14px 0; line-height:25px;padding-right:20px;" >钉扣设计简单实用又不影响全衣美感，更能体现全衣的极简品质。</td>)t");
    row("lbltuwen3", 4, TemplateId::LblTuwen3, uR"t(    <td style="line-height:25px;padding:30px; color:#666; " width="50%" height="28" align="left">)t");
    row("lbltuwen3", 13, TemplateId::LblTuwen3, uR"t(    <td style="line-height:25px;padding:30px; color:#666; " width="50%" align="left">)t");
    row("lbltuwen3", 14, TemplateId::LblTuwen3, uR"t(    )t");
    row("lbltuwen3", 15, TemplateId::LblTuwen3, uR"t(    )t");
    row("lbltuwen3", 16, TemplateId::LblTuwen3, uR"t(    <span style="font-size:29px;color:#000; font-weight:700">唯美版型</span> )t");
    row("lbltuwen3", 18, TemplateId::LblTuwen3, uR"t(全衣经过版形师多次的精心设计打扮，自然唯美，为您带来满满的气场和气质，引人目,全衣经过版形师多次的精心设计打扮，自然唯美，为您带来满满的气场和气质，引人注目。。</td>)t");
    row("lbltuwen3", 19, TemplateId::LblTuwen3, uR"t(    <td  width="50%" height="28" align="right"><img src="SamplePic07" alt=" 350-2.jpg"/></td>)t", SampleAddresses::SamplePic07);
    row("lblxijie01", 1, TemplateId::LblXijie01, uR"t()t");
    row("lblxijie01", 4, TemplateId::LblXijie01, uR"t(    <td width="420" rowspan="9"><img src="SamplePic14" alt=" 420-720.jpg"/></td>)t", SampleAddresses::SamplePic14);
    row("lblxijie01", 6, TemplateId::LblXijie01, uR"t(    <td style="font-size:18px; font-family:Microsoft YaHei" width="320" height="50" align="left" valign="middle">唯美版型</td>)t");
    row("lblxijie01", 9, TemplateId::LblXijie01, uR"t(    <td width="320" height="140" align="left" valign="top"><img src="SamplePic09" alt=" 140-3.jpg"/></td>)t", SampleAddresses::SamplePic09);
    row("lblxijie01", 18, TemplateId::LblXijie01, uR"t(    <td width="320" height="140" align="left" valign="top"><img src="SamplePic06" alt=" 140-2.jpg"/></td>)t", SampleAddresses::SamplePic06);
    row("lblxijie01", 21, TemplateId::LblXijie01, uR"t(    <td width="320" height="50" align="left" valign="middle" style="font-size:12px; line-height:20px;color:#666">小翻领的设计立体时尚，精致甜美，更兼具了优雅与出众的气质。 </td>)t");
    row("lblxijie01", 27, TemplateId::LblXijie01, uR"t(    <td width="320" height="140" align="left" valign="top"><img src="SamplePic12" alt=" 140-1.jpg"/></td>)t", SampleAddresses::SamplePic12);
    row("lbldapei", 3, TemplateId::LblDapei, uR"t(    <td width="45%" align="center"><img src="SamplePic01" alt=" 190-300.jpg" width="250" height="396"/></td>)t", SampleAddresses::SamplePic01);
    row("lbldapei", 4, TemplateId::LblDapei, uR"t(    <td width="10%" align="center"  style="font-size:76px; font-family:Microsoft YaHei">+</td>)t");
    row("lbldapei", 5, TemplateId::LblDapei, uR"t(    <td width="45%" align="center"><img src="SamplePic01" alt=" 190-300.jpg" width="250" height="396"/></td>)t", SampleAddresses::SamplePic01);
    row("lbldapei", 8, TemplateId::LblDapei, uR"t(    <td style="padding:20px;" height="50" align="center">产品卖点： 本产品采用天然手工纺织而成，在随便写上一些关于卖点的词！</td>)t");
    row("lbldapei", 10, TemplateId::LblDapei, uR"t(    <td style="padding:20px;" height="40" align="center">产品卖点： 本产品采用天然手工纺织而成，在随便写上一些关于卖点的词！</td>)t");
    row("lbldapei", 12, TemplateId::LblDapei, uR"t(</table>)t");

    row("lblbidu", 1, TemplateId::LblBidu, uR"t(<table  style="font-size:14px; font-family:Microsoft YaHei; line-height:25px;border-collapse:collapse; color:#666666" width="100%" cellpadding="0" cellspacing="0" border="1" bordercolor="#DFDFDF">)t");
    row("lblbidu", 4, TemplateId::LblBidu, uR"t(    <td width="88%" height="30" valign="middle"><div style="margin:0 20px;">本店所售产品均为全新正品，质量保证，请放心购买！</div></td>)t");
    row("lblbidu", 7, TemplateId::LblBidu, uR"t(    <td width="20%" height="100" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:16px;">关于色差</div></td>)t");
    row("lblbidu", 12, TemplateId::LblBidu, uR"t(    <td height="30" valign="middle"><div style="margin:0 20px;">纯由我们手工测量，可能存在0.5cm的误差，请不能接受误差的朋友慎拍。</div></td>)t");
    row("lblbidu", 16, TemplateId::LblBidu, uR"t(    <td height="100" valign="middle"><div style="margin:0 20px;">为了确保亲们能收到完好的宝贝，我们提醒亲们在签收快递的时候，注意检查包装是否完好，并且是否有被拆过的痕迹哦！提醒亲们应该与快递当面验收您的快递包裹！本店默认：韵达快递，如需发其它快递，请联系在线客服。</div></td>)t");
    row("lblbidu", 19, TemplateId::LblBidu, uR"t(    <td width="20%" height="30" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:16px;">7天退货</div></td>)t");
    row("lblbidu", 20, TemplateId::LblBidu, uR"t(    <td height="120" valign="middle"><div style="margin:0 20px;">A.本店支持7天无理由退换货服务（签收后起168小时内），如果您对我们的商品不满意，在保存商品及包装原样情况下以退换一次。商品及包装原样指：商品未使用过、有吊牌、未拆标、配件齐全、未改装过、无人为损坏、不影响二次销售。)t");
    row("lblbidu", 21, TemplateId::LblBidu, uR"t(    B.因质量问题造成的退换货邮费由我们承担，非质量问题造成的退换货邮费由买家承担！</div></td>)t");
    row("lblbidu", 22, TemplateId::LblBidu, uR"t(  </tr>)t");
    row("lblbidu", 25, TemplateId::LblBidu, uR"t(    <td height="30" valign="middle"><div style="margin:0 20px;">17点前付款的订单，当天发货，17点后付款的订单次日发货（大型活动期间，发货另行说明）</div></td>)t");
    row("lblbidu", 32, TemplateId::LblBidu, uR"t(    <td width="20%" height="80" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:16px;">收货提醒</div></td>)t");
    row("lblbidu", 35, TemplateId::LblBidu, uR"t(</table>)t");

    // Q&A: blocks open at lines 2, 8, 14, 19, 24 and 30; the lines between
    // them are two blanks each.
    const char16_t *blockOpen =
        uR"t(  <div style="font-size:14px; color:#666666; line-height:30px; padding:15px 0; border-bottom:#CCC dotted 1px">)t";
    row("lblwenda", 1, TemplateId::LblWenda, uR"t(<div style="font-family:Microsoft YaHei">)t");
    row("lblwenda", 3, TemplateId::LblWenda, uR"t(    <div style="font-size:16px; font-weight:700; color:#000000">问：为什么客服不回复我?</div>)t");
    for (int line : {2, 8, 14, 19, 24, 30})
        row("lblwenda", line, TemplateId::LblWenda, blockOpen);
    for (int line : {6, 7, 12, 13, 18, 23, 28, 29})
        row("lblwenda", line, TemplateId::LblWenda, u"  ");
    row("lblwenda", 20, TemplateId::LblWenda, uR"t(    <div style="font-size:16px; font-weight:700; color:#000000">问：如何购买?聚划算团购价显示是59元，为什么我拍下是139呢?</div>)t");
    row("lblwenda", 21, TemplateId::LblWenda, uR"t(    <div>答：亲，只有通过聚划算的统一入口点“参团”购买，才能以59元包邮的优惠价格购买到此宝贝哦</div>)t");
    row("lblwenda", 32, TemplateId::LblWenda, uR"t(    <div>答:本店支持7天无理由退换货，收到货如果不满意，请在48小时内联系我们退换货，产品质量问题我们承担运费，但是由于您个人原因如不喜欢.尺码不合适.没有想象中的好等造成的退换货，需要您承担来回邮费。请当着快递面检查快递件无误后再签收。</div>)t");
    row("lblwenda", 33, TemplateId::LblWenda, uR"t(  </div>)t");
    row("lblwenda", 34, TemplateId::LblWenda, uR"t(</div>)t");
    // clang-format on
}

void TestTemplates::templateLine()
{
    QFETCH(QString, name);
    QFETCH(TemplateId, id);
    QFETCH(int, line);
    QFETCH(QString, expected);
    QFETCH(QString, address);

    const QStringList raw = linesOf(QString::fromUtf8(resourceBytes(name)));
    QVERIFY(line <= raw.size());
    QCOMPARE(raw.at(line - 1), expected);
    QCOMPARE(linesOf(templateText(id)).at(line - 1), withAddress(expected, address));
}

// Byte lengths are those of the token form above.
void TestTemplates::pictureSnippet_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<QString>("address");

    QTest::newRow("单行图文") << 0 << QString::fromUtf16(singleRowSnippet) << 345
                              << QString::fromUtf16(SampleAddresses::SamplePic13);
    QTest::newRow("图文交错") << 3 << QString::fromUtf16(twoPictureSnippet) << 175
                              << QString::fromUtf16(SampleAddresses::SamplePic10);
}

void TestTemplates::pictureSnippet()
{
    QFETCH(int, style);
    QFETCH(QString, expected);
    QFETCH(int, bytes);
    QFETCH(QString, address);

    const BuildResult result = pictureList(style, SectionInputs{});
    QVERIFY(result.value());
    QCOMPARE(*result.value(), withAddress(expected, address));
    QVERIFY(!result.value()->contains(u'\r') && !result.value()->contains(u'\n'));

    // The preview file a style click writes holds exactly these bytes, the
    // sample address put back as its token.
    TemporaryWorkspace t;
    QVERIFY(t.ws.section(5).clickStyle(style, SectionInputs{}).error().isEmpty());
    QString written = ScratchPlatform::decode(t.preview());
    written.replace(address, sampleToken().match(expected).captured());
    QCOMPARE(written.toUtf8().size(), bytes);
}

void TestTemplates::addThroughFrame_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("displayName");

    const auto row = [](int section, int style, const QString &expected, const char16_t *name) {
        QTest::addRow("%d/%d", section, style) << section << style << expected << QString::fromUtf16(name);
    };
    row(3, 0, templateText(TemplateId::Lbl003), u"  默认模式-产品信息");
    row(3, 1, templateText(TemplateId::LblCanshu2), u"  右图左文-产品信息");
    row(3, 2, templateText(TemplateId::LblCanshu3), u"  左图右文-产品信息");
    row(4, 0, templateText(TemplateId::LblMorenChima), u"  默认样式-尺码表");
    row(5, 0, withAddress(QString::fromUtf16(singleRowSnippet), SampleAddresses::SamplePic13), u"  单行图文-图片列表");
    row(5, 1, templateText(TemplateId::LblTuwen2), u"  双列图文-图片列表");
    row(5, 2, templateText(TemplateId::LblTuwen3), u"  双列图片-图片列表");
    row(5, 3, withAddress(QString::fromUtf16(twoPictureSnippet), SampleAddresses::SamplePic10), u"  图文交错-图片列表");
    row(6, 0, templateText(TemplateId::LblXijie01), u"  默认样式-产品细节");
    row(7, 0, templateText(TemplateId::LblDapei), u"  搭配销售  -搭配销售");
    row(8, 0, templateText(TemplateId::LblBidu), u"  卖家说明  -售后说明");
    row(8, 1, templateText(TemplateId::LblWenda), u"  自助问答-售后说明");
}

void TestTemplates::addThroughFrame()
{
    QFETCH(int, section);
    QFETCH(int, style);
    QFETCH(QString, expected);
    QFETCH(QString, displayName);

    TemporaryWorkspace scratch;
    SectionFrame &frame = scratch.ws.section(section);
    const SectionInputs inputs;
    frame.open();
    const ClickOutcome outcome = frame.clickStyle(style, inputs);
    QVERIFY(outcome.ran && outcome.preview && outcome.preview->ok());
    QCOMPARE(frame.code(), expected);
    // The preview file holds the text in the system's 8-bit encoding, which
    // is UTF-8 here.
    QCOMPARE(scratch.preview(), ScratchPlatform::encode(expected));

    QVERIFY(scratch.add(frame, inputs));
    QCOMPARE(scratch.ws.items().snippets(), QStringList{expected});
    QCOMPARE(scratch.ws.items().names(), QStringList{displayName});
}

void TestTemplates::noChoiceKeepsCode_data()
{
    QTest::addColumn<int>("section");
    for (int section = 3; section <= 8; ++section)
        QTest::addRow("section %d", section) << section;
}

void TestTemplates::noChoiceKeepsCode()
{
    QFETCH(int, section);

    TemporaryWorkspace scratch;
    SectionFrame &frame = scratch.ws.section(section);
    const SectionInputs inputs;
    frame.open();
    QVERIFY(frame.clickBeside(inputs).ran);
    QCOMPARE(frame.code(), QStringLiteral("edtguanlian"));
    QCOMPARE(scratch.preview(), QByteArrayLiteral("edtguanlian"));

    // After Add has cleared the choice, the code edit keeps the last style.
    frame.clickStyle(0, inputs);
    const QString built = frame.code();
    QVERIFY(scratch.add(frame, inputs));
    QVERIFY(frame.clickBeside(inputs).ran);
    QCOMPARE(frame.code(), built);
    QCOMPARE(scratch.preview(), ScratchPlatform::encode(built));
}

void TestTemplates::styleSwitchReplaces_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");

    QTest::newRow("默认模式 then 右图左文") << 3 << 0 << 1;
    QTest::newRow("双列图片 then 图文交错") << 5 << 2 << 3;
    QTest::newRow("图文交错 then 单行图文") << 5 << 3 << 0;
    QTest::newRow("卖家说明 then 自助问答") << 8 << 0 << 1;
}

void TestTemplates::styleSwitchReplaces()
{
    QFETCH(int, section);
    QFETCH(int, first);
    QFETCH(int, second);

    const SectionInfo &info = sectionInfo(section);
    const QString firstText = *info.generate(first, SectionInputs{}).value();
    const QString secondText = *info.generate(second, SectionInputs{}).value();
    QVERIFY(firstText != secondText);

    TemporaryWorkspace scratch;
    SectionFrame &frame = scratch.ws.section(section);
    const SectionInputs inputs;
    frame.clickStyle(first, inputs);
    frame.clickStyle(second, inputs);
    QCOMPARE(frame.code(), secondText);
    QCOMPARE(scratch.preview(), ScratchPlatform::encode(secondText));
    frame.clickStyle(first, inputs);
    QCOMPARE(frame.code(), firstText); // unchanged by the earlier use
}

void TestTemplates::bundleAddedTwice()
{
    TemporaryWorkspace scratch;
    SectionFrame &frame = scratch.ws.section(7);
    const SectionInputs inputs;
    for (int i = 0; i < 2; ++i) {
        frame.open();
        frame.clickStyle(0, inputs);
        QVERIFY(scratch.add(frame, inputs));
    }
    const QString &bundle = templateText(TemplateId::LblDapei);
    QCOMPARE(scratch.ws.items().snippets(), (QStringList{bundle, bundle}));
    const QString name = QStringLiteral("  搭配销售  -搭配销售");
    QCOMPARE(scratch.ws.items().names(), (QStringList{name, name}));
}

QTEST_APPLESS_MAIN(TestTemplates)
#include "test_templates.moc"
