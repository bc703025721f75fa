#include "ContentPieces.h"
#include "PageAddresses.h"
#include "PageCheck.h"
#include "StyleSnippets.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QString piecesText(const ContentPieces &found)
{
    QStringList out;
    for (const ContentPiece &p : found.pieces()) {
        const QString raw = found.snippet().mid(p.start, p.length);
        QString s = p.kind == PieceKind::Text ? u"T"_s : p.kind == PieceKind::Picture ? u"P"_s : u"L"_s;
        if (p.kind != PieceKind::Text)
            s += p.quote.isNull() ? u'_' : p.quote;
        s += raw;
        if (p.value != raw)
            s += u" => "_s + p.value;
        if (p.width || p.height)
            s += u" @"_s + (p.width ? QString::number(*p.width) : u"?"_s) + u'x'
                + (p.height ? QString::number(*p.height) : u"?"_s);
        out.append(s);
    }
    return out.join(u" | ");
}

QStringList valuesOf(const ContentPieces &found)
{
    QStringList values;
    for (const ContentPiece &p : found.pieces())
        values.append(p.value);
    return values;
}

} // namespace

class TestContentPieces : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void piecesFound_data();
    void piecesFound();
    void oneEdit_data();
    void oneEdit();
    void address_data();
    void address();
    void stillToReplace_data();
    void stillToReplace();
    void pageAddresses();
    void pageReplacement_data();
    void pageReplacement();
    void pageCheck_data();
    void pageCheck();
};

// Every style of every section and pasted HTML of every kind of breakage:
// applying the values as found gives the snippet back byte for byte, and
// replacing every value changes nothing outside the pieces.
void TestContentPieces::roundTrip_data()
{
    QTest::addColumn<QString>("snippet");
    for (const StyleRef &ref : everyStyle())
        QTest::addRow("section %d style %d", ref.section, ref.style) << snippetFor(ref);

    const QChar nul(u'\0');
    const QChar high(char16_t(0xD800)), low(char16_t(0xDC00));
    const auto row = [](const char *name, const QString &html) { QTest::newRow(name) << html; };
    row("empty", QString());
    row("blank", u" \r\n\t "_s);
    row("misnested", u"<div><p>a<b>b<i>c</b>d</i><table><tr>x<td>y</div><a href=#><p>q</a>r"_s);
    row("unquoted",
        u"<a href=a?b=1&c=2 class=x>z</a><img src=p.png width=10/><a href=&quot;x>w</a><a href=\" x \">v</a>"_s);
    row("entities", u"<p>&amp &ampx &lt;&gt &copy &#65 &#x41; &notit; &bogus; &#0; &#xD800;</p>"_s);
    row("comments", u"<!-- a <p>b</p> -->c<!--x-- > d --!>e<!-->f<!--- unclosed"_s);
    row("raw text",
        u"<script>var a='<a href=\"x\">';</script><style>p{}</style><title>t</title>"
        u"<textarea>u</textarea><xmp>v</xmp><noscript>w</noscript><iframe>i</iframe>t"_s);
    row("nul", u"a"_s + nul + u"b<img src=\"x"_s + nul + u"y\"><p>"_s + nul + u"</p><svg>s"_s + nul + u"</svg>"_s);
    row("lone surrogates", high + u"<p>"_s + low + u"x</p><a href=\""_s + high + u"\">y"_s + low + high + u"</a>"_s);
    row("cr only", u"<p>a\rb</p>\r<a href='c'>d</a>\r\r"_s);
    row("unterminated", u"<p>x<img src=\"abc"_s);
    row("stray tags", u"<b>x</span>y</b></p><p>z</html>w"_s);
    row("foreign", u"<svg><![CDATA[x]]><text>t</text><a href=\"q\">l</a></svg><math><mi>m</mi></math>"_s);
    row("duplicates", u"<img src=a SRC=b><a href='c' href=d>e</a><a href>f</a><a href= >g</a>"_s);
    row("plaintext", u"<p>before<plaintext><a href=x>y</a>"_s);
    row("template", u"<template><p>x</p><img src=y></template><pre>\r\nz</pre>"_s);
    row("garbage", u"<<<>>>&&&</ <? ?> <!doctype x> <a <img src=\"'\">"_s);
}

void TestContentPieces::roundTrip()
{
    QFETCH(QString, snippet);
    const ContentPieces found(snippet);
    const std::vector<ContentPiece> &pieces = found.pieces();
    for (size_t i = 0; i < pieces.size(); ++i) {
        QVERIFY(pieces[i].start >= 0 && pieces[i].start + pieces[i].length <= snippet.size());
        if (i > 0)
            QVERIFY(pieces[i].start >= pieces[i - 1].start + pieces[i - 1].length);
    }
    const Result<QString> same = found.apply(valuesOf(found));
    QVERIFY(same.ok());
    QCOMPARE(*same, snippet);

    // Plain new values need no escaping, so the expected page follows from
    // the pieces' positions alone.
    QStringList values;
    QString expected;
    qsizetype copied = 0;
    for (const ContentPiece &p : pieces) {
        const bool text = p.kind == PieceKind::Text;
        values.append(text ? u"改"_s : u"http://x.cn/"_s);
        expected += snippet.mid(copied, p.start - copied);
        expected += text || !p.quote.isNull() ? values.last() : u'"' + values.last() + u'"';
        copied = p.start + p.length;
    }
    expected += snippet.mid(copied);
    const Result<QString> changed = found.apply(values);
    QVERIFY(changed.ok());
    QCOMPARE(*changed, expected);
}

void TestContentPieces::piecesFound_data()
{
    QTest::addColumn<QString>("snippet");
    QTest::addColumn<QString>("pieces");
    QTest::addColumn<bool>("multiLine");

    QTest::newRow("related-sales quarter block")
        << u"<div style=\"width:25%\"><div style=\"font-size:18px\">自定义标题信息</div>"
           u"<div>自定义副标题</div><a style=\"text-decoration:none\" href=\"#\" target=\"_blank\">"
           u"<img style=\"border:none\" src=\"https://p.cn/a.png\" alt=\" 190.jpg\"/></a></div>"_s
        << u"T自定义标题信息 | T自定义副标题 | L\"# | P\"https://p.cn/a.png"_s << false;
    QTest::newRow("entities decoded, blanks outside")
        << u"<p>\r\n  a &amp; b&nbsp;c &lt;x&gt &#x41;\u3000 </span>\r\n</p>"_s
        << u"Ta &amp; b&nbsp;c &lt;x&gt &#x41;\u3000 => a & b\u00a0c <x> A\u3000"_s << false;
    QTest::newRow("line break inside") << u"<p>\r\n第一行\r\n  第二行\r\n</p>"_s
                                       << u"T第一行\r\n  第二行 => 第一行\n  第二行"_s << true;
    QTest::newRow("sizes from attributes and style")
        << u"<img src='p.png' width=\"350\" height=\"100%\" style=\"margin:0; HEIGHT: 200px\">"
           u"<img src=q.png width=\"12.5\"><img src=\"r\" style=\"width:30\">"_s
        << u"P'p.png @350x200 | P_q.png | P\"r"_s << false;
    QTest::newRow("a size in the style wins, also one not in pixels")
        << u"<img src=a width=\"350\" height=\"100\" style=\"width:200px\"><img src=b width=350 style=\"width: 50%\">"_s
        << u"P_a @200x100 | P_b"_s << false;
    QTest::newRow("srcset addresses")
        << u"<picture><source srcset=\"s1.webp 1x, s2.webp 2x\"><img src=\"i.png\" width=100 height=50 "
           u"srcset='i2.png?a=1&amp;b=2 800w,i3.png,, i4.png 2x (a, b), i5.png'></picture><img srcset=u.png>"_s
        << u"P\"s1.webp | P\"s2.webp | P\"i.png @100x50 | P'i2.png?a=1&amp;b=2 => i2.png?a=1&b=2 @100x50 | "
           u"P'i3.png @100x50 | P'i4.png @100x50 | P'i5.png @100x50 | P_u.png"_s
        << false;
    QTest::newRow("SVG addresses")
        << u"<svg><a href=\"javascript:alert(1)\"><image xlink:href=\"p.png\" width=\"10\"/></a><use href=\"#i\"/>"
           u"<a xlink:href='l.html'>t</a></svg>"_s
        << u"L\"javascript:alert(1) | P\"p.png | P\"#i | L'l.html | Tt"_s << false;
    QTest::newRow("unquoted and empty addresses") << u"<a href=a&amp;b>x</a><a href=\"\">y</a><image src=z>"_s
                                                  << u"L_a&amp;b => a&b | Tx | L\" | Ty | P_z"_s << false;
    QTest::newRow("not offered")
        << u"<!-- <a href=c>c</a> --><script>s</script><style>t</style><title>u</title><textarea>v</textarea>"
           u"<noscript>w</noscript><xmp>x</xmp><p>&#32;</p><img src=a src=b><a href>k</a>"
           u"<b>y</span>z</b><svg><![CDATA[d]]></svg><template>e</template>"
           u"<img srcset=\"a&#32;2x, b\"><img srcset=c,>"_s
        << u"Tk"_s << false;
    QTest::newRow("misnested link offered once") << u"<a href=\"h\"><p>t</a>"_s << u"L\"h | Tt"_s << false;
    // An unpaired surrogate reads as U+FFFD, and stays when unchanged.
    const QChar high(char16_t(0xD800)), low(char16_t(0xDC00));
    QTest::newRow("positions past unpaired surrogates")
        << low + u"😀<p>\0x</p><a href='&#39;'>"_s + high
        << u"T"_s + low + u"😀 => \uFFFD😀 | Tx | L'&#39; => ' | T"_s + high + u" => \uFFFD"_s << false;
}

void TestContentPieces::piecesFound()
{
    QFETCH(QString, snippet);
    QFETCH(QString, pieces);
    QFETCH(bool, multiLine);
    const ContentPieces found(snippet);
    QCOMPARE(piecesText(found), pieces);
    QCOMPARE(!found.pieces().empty() && found.pieces().front().multiLine(), multiLine);
}

// One piece changed: everything but its span stays, and the new value is
// written escaped for where it stands.
void TestContentPieces::oneEdit_data()
{
    QTest::addColumn<QString>("snippet");
    QTest::addColumn<int>("piece");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    const QString page = u"<p title=\"&amp;\">  标题&nbsp;一 </p>\r\n<a href=\"#\">链接</a>"
                         u"<img src='a.png'><img src=b.png>"_s;
    QTest::newRow("text escaped")
        << page << 0 << u"<b> & \u00a0\"'"_s
        << u"<p title=\"&amp;\">  &lt;b&gt; &amp; &nbsp;\"' </p>\r\n<a href=\"#\">链接</a><img src='a.png'><img src=b.png>"_s;
    QTest::newRow("text line breaks in the snippet's style")
        << page << 2 << u"一\n二\r三\r\n"_s
        << u"<p title=\"&amp;\">  标题&nbsp;一 </p>\r\n<a href=\"#\">一\r\n二\r\n三\r\n</a><img src='a.png'><img src=b.png>"_s;
    QTest::newRow("text line breaks as LF")
        << u"<p>a</p>\n<p>b</p>"_s << 1 << u"c\r\nd"_s << u"<p>a</p>\n<p>c\nd</p>"_s;
    QTest::newRow("text in a snippet without breaks") << u"<p>a</p>"_s << 0 << u"c\nd"_s << u"<p>c\r\nd</p>"_s;
    QTest::newRow("text emptied") << u"<p> a </p>"_s << 0 << QString() << u"<p>  </p>"_s;
    QTest::newRow("double-quoted address")
        << page << 1 << u"  https://s.cn/?a=1&b=\"2\"'  "_s
        << u"<p title=\"&amp;\">  标题&nbsp;一 </p>\r\n<a href=\"https://s.cn/?a=1&amp;b=&quot;2&quot;'\">链接</a><img src='a.png'><img src=b.png>"_s;
    QTest::newRow("single-quoted address")
        << page << 3 << u"//c.cn/x'y\"&.png"_s
        << u"<p title=\"&amp;\">  标题&nbsp;一 </p>\r\n<a href=\"#\">链接</a><img src='//c.cn/x&#39;y\"&amp;.png'><img src=b.png>"_s;
    QTest::newRow("unquoted address quoted")
        << page << 4 << u"c d\".png"_s
        << u"<p title=\"&amp;\">  标题&nbsp;一 </p>\r\n<a href=\"#\">链接</a><img src='a.png'><img src=\"c d&quot;.png\">"_s;
    QTest::newRow("first in a pre, starting with a line break")
        << u"<pre class=x>a</pre>\n"_s << 0 << u"\nb"_s << u"<pre class=x>\n\nb</pre>\n"_s;
    QTest::newRow("first in a listing, starting with CR LF")
        << u"<listing>a</listing>"_s << 0 << u"\r\nb"_s << u"<listing>\r\n\r\nb</listing>"_s;
    QTest::newRow("in a pre after its own line break")
        << u"<pre>\r\na</pre>"_s << 0 << u"\nb"_s << u"<pre>\r\n\r\nb</pre>"_s;
    QTest::newRow("srcset address, blanks and commas at the ends encoded")
        << u"<img srcset=\"a.png 1x, b.png 2x\">"_s << 1 << u",new b,c.png,"_s
        << u"<img srcset=\"a.png 1x, %2Cnew%20b,c.png%2C 2x\">"_s;
    QTest::newRow("unquoted srcset address quoted")
        << u"<img srcset=a.png alt=x>"_s << 0 << u"b c.png"_s << u"<img srcset=\"b%20c.png\" alt=x>"_s;
    QTest::newRow("SVG xlink:href") << u"<svg><a xlink:href='#'>x</a></svg>"_s << 0 << u"https://s.cn/?a&b"_s
                                    << u"<svg><a xlink:href='https://s.cn/?a&amp;b'>x</a></svg>"_s;
    QTest::newRow("address only blanked keeps its bytes")
        << u"<a href=\"a&#38;b\">x</a>"_s << 0 << u" a&b "_s << u"<a href=\"a&#38;b\">x</a>"_s;
}

void TestContentPieces::oneEdit()
{
    QFETCH(QString, snippet);
    QFETCH(int, piece);
    QFETCH(QString, value);
    QFETCH(QString, expected);
    const ContentPieces found(snippet);
    QStringList values = valuesOf(found);
    values[piece] = value;
    const Result<QString> edited = found.apply(values);
    QVERIFY2(edited.ok(), qPrintable(edited.error()));
    QCOMPARE(*edited, expected);
}

// The check on its own, and apply refusing what it refuses.
void TestContentPieces::address_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("unsafe"); // already in a page, as the browser reads it

    const QString control = u"地址中不能有控制字符（如换行、制表符）"_s;
    const auto scheme = [](const char *name) -> QString {
        return u"不能使用“"_s + QLatin1String(name) + u":”开头的地址，只能用 http:、https:、// 开头的地址或相对地址"_s;
    };
    QTest::newRow("http") << u"http://a.cn/x?y=1#z"_s << QString() << false;
    QTest::newRow("HTTPS with blanks") << u"  HTTPS://a.cn/ "_s << QString() << false;
    QTest::newRow("protocol-relative") << u"//a.cn/p.png"_s << QString() << false;
    QTest::newRow("relative") << u"img/p.png"_s << QString() << false;
    QTest::newRow("fragment") << u"#优惠券"_s << QString() << false;
    QTest::newRow("colon after a slash") << u"/a:b"_s << QString() << false;
    QTest::newRow("javascript") << u"javascript:alert(1)"_s << scheme("javascript") << true;
    QTest::newRow("JavaScript after blanks") << u" \t JavaScript:x"_s << scheme("javascript") << true;
    QTest::newRow("tab inside the scheme") << u"java\tscript:x"_s << control << true;
    QTest::newRow("line break inside") << u"http://a.cn/\nb"_s << control << false;
    QTest::newRow("C1 control") << u"http://a.cn/\u0085"_s << control << false;
    QTest::newRow("data") << u"data:image/png;base64,AA=="_s << scheme("data") << true;
    QTest::newRow("file") << u"file:///etc/passwd"_s << scheme("file") << true;
    QTest::newRow("drive letter") << u"c:\\p.png"_s << scheme("c") << true;
    QTest::newRow("other scheme") << u"vbscript:x"_s << scheme("vbscript") << true;
    QTest::newRow("empty") << QString() << u"地址不能为空"_s << false;
    QTest::newRow("blank") << u" \r\n"_s << u"地址不能为空"_s << false;
    QTest::newRow("unpaired surrogate") << u"a"_s + QChar(char16_t(0xD800)) << u"地址中有无效的字符"_s << false;
}

void TestContentPieces::address()
{
    QFETCH(QString, address);
    QFETCH(QString, error);
    QFETCH(bool, unsafe);
    const Result<> checked = checkAddress(address);
    QCOMPARE(checked.error(), error);
    QCOMPARE(checked.ok(), error.isEmpty());
    QCOMPARE(unsafeAddress(address), unsafe);

    const ContentPieces found(u"<p>x</p><a href=\"#\">y</a>"_s);
    const Result<QString> applied = found.apply({u"改"_s, address, u"y"_s});
    QCOMPARE(applied.ok(), error.isEmpty());
    if (!applied)
        QCOMPARE(applied.error(), u"第 2 项："_s + error);
}

void TestContentPieces::stillToReplace_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("toReplace");

    QTest::newRow("link to #") << int(PieceKind::Link) << u"#"_s << true;
    QTest::newRow("link to an anchor") << int(PieceKind::Link) << u"#优惠券链接"_s << true;
    QTest::newRow("sample picture") << int(PieceKind::Picture) << u"https://s.cn/1.png"_s << true;
    QTest::newRow("sample link") << int(PieceKind::Link) << u"https://s.cn/1.png"_s << true;
    QTest::newRow("own picture") << int(PieceKind::Picture) << u"https://s.cn/2.png"_s << false;
    QTest::newRow("own link") << int(PieceKind::Link) << u"https://shop.cn/#top"_s << false;
    QTest::newRow("picture named #") << int(PieceKind::Picture) << u"#"_s << false;
}

void TestContentPieces::stillToReplace()
{
    QFETCH(int, kind);
    QFETCH(QString, value);
    QFETCH(bool, toReplace);
    QCOMPARE(::stillToReplace(PieceKind(kind), value, {u"https://s.cn/1.png"_s}), toReplace);
}

namespace {

const QStringList page = {
    u"<a href=\"#\"><img src=\"p1.png\"></a><p>a</p>"_s,
    u"<a href='p1.png'>x</a><img src=p2.png>"_s,
    u"<img src=\"p1&#46;png\" alt=\"\"><a href=#>y</a>"_s,
    u"<p>no address</p>"_s,
    u"<img srcset=\"p2.png 1x, p1.png 2x\"><svg><a href=\"p1.png\"><image xlink:href=\"p1.png\"/></a></svg>"_s,
};

} // namespace

void TestContentPieces::pageAddresses()
{
    QStringList found;
    for (const PageAddress &a : collectPageAddresses(page))
        found.append((a.kind == PieceKind::Picture ? u"P "_s : u"L "_s) + a.address + u" ×"_s
                     + QString::number(a.uses));
    QCOMPARE(found, QStringList({u"L # ×2"_s, u"P p1.png ×4"_s, u"L p1.png ×2"_s, u"P p2.png ×2"_s}));
}

void TestContentPieces::pageReplacement_data()
{
    QTest::addColumn<std::vector<AddressReplacement>>("replacements");
    QTest::addColumn<QStringList>("snippets");
    QTest::addColumn<std::vector<int>>("changed");
    QTest::addColumn<QString>("error");

    QStringList picture = page;
    picture[0] = u"<a href=\"#\"><img src=\"https://s.cn/a.png\"></a><p>a</p>"_s;
    picture[2] = u"<img src=\"https://s.cn/a.png\" alt=\"\"><a href=#>y</a>"_s;
    picture[4] = u"<img srcset=\"p2.png 1x, https://s.cn/a.png 2x\"><svg><a href=\"p1.png\">"
                 u"<image xlink:href=\"https://s.cn/a.png\"/></a></svg>"_s;
    QTest::newRow("picture everywhere, not the link")
        << std::vector<AddressReplacement>{{PieceKind::Picture, u"p1.png"_s, u"https://s.cn/a.png"_s}} << picture
        << std::vector<int>{0, 2, 4} << QString();

    QStringList both = picture;
    both[1] = u"<a href='https://s.cn/l.html'>x</a><img src=p2.png>"_s;
    both[4] = u"<img srcset=\"p2.png 1x, https://s.cn/a.png 2x\"><svg><a href=\"https://s.cn/l.html\">"
              u"<image xlink:href=\"https://s.cn/a.png\"/></a></svg>"_s;
    QTest::newRow("same text as picture and as link")
        << std::vector<AddressReplacement>{{PieceKind::Picture, u"p1.png"_s, u"https://s.cn/a.png"_s},
                                           {PieceKind::Link, u"p1.png"_s, u"https://s.cn/l.html"_s}}
        << both << std::vector<int>{0, 1, 2, 4} << QString();

    QStringList swapped = page;
    swapped[0] = u"<a href=\"p1.png\"><img src=\"p1.png\"></a><p>a</p>"_s;
    swapped[1] = u"<a href='#'>x</a><img src=p2.png>"_s;
    swapped[2] = u"<img src=\"p1&#46;png\" alt=\"\"><a href=\"p1.png\">y</a>"_s;
    swapped[4] = u"<img srcset=\"p2.png 1x, p1.png 2x\"><svg><a href=\"#\"><image xlink:href=\"p1.png\"/></a></svg>"_s;
    QTest::newRow("links swapped") << std::vector<AddressReplacement>{{PieceKind::Link, u"#"_s, u"p1.png"_s},
                                                                      {PieceKind::Link, u"p1.png"_s, u"#"_s}}
                                   << swapped << std::vector<int>{0, 1, 2, 4} << QString();
    QTest::newRow("unchanged") << std::vector<AddressReplacement>{{PieceKind::Link, u"#"_s, u"#"_s}} << page
                               << std::vector<int>{} << QString();
    QTest::newRow("refused address")
        << std::vector<AddressReplacement>{{PieceKind::Link, u"#"_s, u"data:x"_s}} << page << std::vector<int>{}
        << u"“#”的替换地址：不能使用“data:”开头的地址，只能用 http:、https:、// 开头的地址或相对地址"_s;
    QTest::newRow("two targets") << std::vector<AddressReplacement>{{PieceKind::Link, u"#"_s, u"a"_s},
                                                                    {PieceKind::Link, u"#"_s, u"b"_s}}
                                 << page << std::vector<int>{} << u"“#”有两个不同的替换地址"_s;
}

void TestContentPieces::pageReplacement()
{
    QFETCH(std::vector<AddressReplacement>, replacements);
    QFETCH(QStringList, snippets);
    QFETCH(std::vector<int>, changed);
    QFETCH(QString, error);
    const Result<PageReplacement> replaced = replacePageAddresses(page, replacements);
    QCOMPARE(replaced.error(), error);
    if (!replaced)
        return;
    QCOMPARE(replaced->snippets, snippets);
    QCOMPARE(replaced->changedItems, changed);
}

// The check's lines over small pages: each part once, addresses quoted
// either way and unquoted, a sample used twice, and what a page preview
// laid out; with the places a tooltip names and where fixing starts.
void TestContentPieces::pageCheck_data()
{
    QTest::addColumn<QStringList>("snippets");
    QTest::addColumn<double>("fontPx"); // below -1: no page preview yet
    QTest::addColumn<int>("pageWidth");
    QTest::addColumn<QStringList>("failed");
    QTest::addColumn<QString>("text"); // the smallest text
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("warnings");
    QTest::addColumn<QStringList>("places"); // entry:address or text
    QTest::addColumn<QString>("first");      // entry:field's text, empty for none

    const QString sample = u"https://placehold.co/190x300.png"_s;
    const QString none = u"示例图片 0|# 链接 0|http 图片 0|载入失败 0|手机最小字号"_s;
    QTest::newRow("empty list") << QStringList() << -2.0 << 750 << QStringList() << QString() << none << u"00000"_s
                                << QStringList() << QString();
    QTest::newRow("own addresses only")
        << QStringList{u"<img src=\"https://shop.cn/a.png\"><a href=\"https://www.taobao.com/\">店</a>"_s} << -2.0
        << 750 << QStringList() << QString() << none << u"00000"_s << QStringList() << QString();
    QTest::newRow("sample picture, single quotes")
        << QStringList{u"<p>x</p>"_s, u"<img alt='a' src='"_s + sample + u"'>"_s} << -2.0 << 750 << QStringList()
        << QString() << u"示例图片 1|# 链接 0|http 图片 0|载入失败 0|手机最小字号"_s << u"10000"_s
        << QStringList{u"1:"_s + sample} << u"1:"_s + sample;
    QTest::newRow("sample used twice, unquoted")
        << QStringList{u"<img src="_s + sample + u">"_s, u"<img src="_s + sample + u">"_s} << -2.0 << 750
        << QStringList() << QString() << u"示例图片 2|# 链接 0|http 图片 0|载入失败 0|手机最小字号"_s << u"10000"_s
        << QStringList{u"0:"_s + sample, u"1:"_s + sample} << u"0:"_s + sample;
    QTest::newRow("# link unquoted, empty link")
        << QStringList{u"<a href=#top>a</a><a href=\" \">b</a><a href=\"https://shop.cn/#x\">c</a>"_s} << -2.0 << 750
        << QStringList() << QString() << u"示例图片 0|# 链接 2|http 图片 0|载入失败 0|手机最小字号"_s << u"01000"_s
        << QStringList{u"0:#top"_s, u"0: "_s} << u"0:#top"_s;
    QTest::newRow("http picture")
        << QStringList{u"<img src=\" HTTP://shop.cn/a.png\"><a href=\"http://shop.cn/\">a</a>"_s} << -2.0 << 750
        << QStringList() << QString() << u"示例图片 0|# 链接 0|http 图片 1|载入失败 0|手机最小字号"_s << u"00100"_s
        << QStringList{u"0: HTTP://shop.cn/a.png"_s} << QString();
    QTest::newRow("laid out: 12 px at 750, a failed picture")
        << QStringList{u"<p>big</p>"_s, u"<p>small</p><img src=\"https://shop.cn/gone.png\">"_s} << 12.0 << 750
        << QStringList{u"https://shop.cn/gone.png"_s} << u"small"_s
        << u"示例图片 0|# 链接 0|http 图片 0|载入失败 1|手机最小字号 6 px"_s << u"00011"_s
        << QStringList{u"1:https://shop.cn/gone.png"_s, u"1:small"_s} << QString();
    QTest::newRow("laid out: 24 px at 750 reads 12")
        << QStringList{u"<p>big</p>"_s} << 24.0 << 750 << QStringList() << u"big"_s
        << u"示例图片 0|# 链接 0|http 图片 0|载入失败 0|手机最小字号 12 px"_s << u"00000"_s << QStringList{u"0:big"_s}
        << QString();
    QTest::newRow("laid out: 25 px at 790 reads 11")
        << QStringList{u"<p>big</p>"_s} << 25.0 << 790 << QStringList() << u"Big"_s
        << u"示例图片 0|# 链接 0|http 图片 0|载入失败 0|手机最小字号 11 px"_s << u"00001"_s << QStringList{u"-1:Big"_s}
        << QString();
}

void TestContentPieces::pageCheck()
{
    QFETCH(QStringList, snippets);
    QFETCH(double, fontPx);
    QFETCH(int, pageWidth);
    QFETCH(QStringList, failed);
    QFETCH(QString, text);
    QFETCH(QString, lines);
    QFETCH(QString, warnings);
    QFETCH(QStringList, places);
    QFETCH(QString, first);

    // One counter for every row, as the window keeps one: what it found in
    // a snippet before must count again, and only for the list counted.
    static PageCheck::Counter counter;
    const PageCheck::ListCount list = counter.count(snippets);
    std::optional<PageCheck::LaidOut> page;
    if (fontPx >= -1)
        page = PageCheck::LaidOut{fontPx, text, int(failed.size()), failed, pageWidth};

    QStringList shown;
    QString warned;
    for (const PageCheck::Line &line : PageCheck::lines(list, page)) {
        shown.append(line.text);
        warned += line.warning ? u'1' : u'0';
    }
    QCOMPARE(shown.join(u'|'), lines);
    QCOMPARE(warned, warnings);

    QStringList named;
    for (const PageCheck::Place &place : PageCheck::places(list, page, snippets))
        named.append(QString::number(place.item) + u':' + place.what);
    QCOMPARE(named, places);

    const std::optional<PageCheck::Place> start = PageCheck::firstToReplace(list);
    QString startsAt;
    if (start) {
        const QString &snippet = snippets.at(start->item);
        startsAt = QString::number(start->item) + u':' + snippet.mid(start->start, start->what.size());
    }
    QCOMPARE(startsAt, first);
}

QTEST_GUILESS_MAIN(TestContentPieces)
#include "test_content_pieces.moc"
