#include "PageCheck.h"

#include "ContentPieces.h"
#include "SampleAddresses.h"

#include <cmath>
#include <system_error>
#include <thread>

namespace PageCheck {

namespace {

// An address as a browser reads it: blanks and control characters around
// it and tabs and line breaks inside left out.
QString asBrowserReads(const QString &address)
{
    qsizetype begin = 0, end = address.size();
    while (begin < end && address[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && address[end - 1].unicode() <= 0x20)
        --end;
    QString read = address.mid(begin, end - begin);
    read.remove(u'\t');
    read.remove(u'\n');
    read.remove(u'\r');
    return read;
}

bool isSamplePicture(const QString &address)
{
    for (const char16_t *sample : SampleAddresses::SamplePictures) {
        if (address == QStringView(sample))
            return true;
    }
    return false;
}

int &countOf(ListCount &list, Part part)
{
    return part == Part::SamplePicture ? list.samplePictures
        : part == Part::HashLink       ? list.hashLinks
                                       : list.httpPictures;
}

std::shared_ptr<const SnippetFindings> findingsOf(const QString &snippet)
{
    auto found = std::make_shared<SnippetFindings>();
    const ContentPieces pieces(snippet, ContentPieces::Scope::AddressesOnly);
    for (const ContentPiece &piece : pieces.pieces()) {
        const QString read = asBrowserReads(piece.value);
        if (piece.kind == PieceKind::Link) {
            if (read.isEmpty() || read.startsWith(u'#'))
                found->findings.push_back({Part::HashLink, piece.start, piece.value});
            continue;
        }
        found->pictures.append(piece.value);
        if (isSamplePicture(read))
            found->findings.push_back({Part::SamplePicture, piece.start, piece.value});
        else if (read.startsWith(QLatin1String("http:"), Qt::CaseInsensitive))
            found->findings.push_back({Part::HttpPicture, piece.start, piece.value});
    }
    return found;
}

} // namespace

QString label(Part part)
{
    switch (part) {
    case Part::SamplePicture:
        return QStringLiteral("示例图片");
    case Part::HashLink:
        return QStringLiteral("# 链接");
    case Part::HttpPicture:
        return QStringLiteral("http 图片");
    case Part::FailedPicture:
        return QStringLiteral("载入失败");
    case Part::PhoneFontSize:
        break;
    }
    return QStringLiteral("手机最小字号");
}

ListCount Counter::count(const QStringList &snippets)
{
    // Only the snippets of this list are kept for the next count.
    QHash<QString, std::shared_ptr<const SnippetFindings>> known;
    known.reserve(snippets.size());
    std::vector<const QString *> unread;
    for (const QString &snippet : snippets) {
        if (known.contains(snippet))
            continue;
        const auto earlier = m_known.constFind(snippet);
        known.insert(snippet, earlier != m_known.cend() ? *earlier : nullptr);
        if (earlier == m_known.cend())
            unread.push_back(&snippet);
    }

    // Reading a snippet is the HTML parser's work, some 40 µs each: a long
    // list no count has read yet (a layout just opened) is shared with a
    // second thread.
    std::vector<std::shared_ptr<const SnippetFindings>> read(unread.size());
    const auto readRange = [&unread, &read](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            read[i] = findingsOf(*unread[i]);
    };
    constexpr std::size_t WorthAThread = 64;
    std::size_t half = unread.size();
    std::thread other;
    if (unread.size() >= WorthAThread) {
        try {
            other = std::thread(readRange, unread.size() / 2, unread.size());
            half = unread.size() / 2;
        } catch (const std::system_error &) {
            // No thread to be had: this one reads them all.
        }
    }
    readRange(0, half);
    if (other.joinable())
        other.join();
    for (std::size_t i = 0; i < unread.size(); ++i)
        known.insert(*unread[i], read[i]);

    ListCount list;
    list.items.reserve(std::size_t(snippets.size()));
    for (const QString &snippet : snippets) {
        std::shared_ptr<const SnippetFindings> found = known.value(snippet);
        for (const SnippetFindings::Finding &f : found->findings)
            ++countOf(list, f.part);
        list.items.push_back(std::move(found));
    }
    m_known.swap(known);
    return list;
}

int phonePixels(double cssPx, int pageWidth)
{
    // A hair over, so that 24 px at 750 reads 12, not 11.999….
    return int(std::floor(cssPx * PhoneWidth / pageWidth + 1e-9));
}

std::vector<Line> lines(const ListCount &list, const std::optional<LaidOut> &page)
{
    const auto counted = [](const QString &label, int n) { return Line{label + u' ' + QString::number(n), n > 0}; };
    std::vector<Line> out{
        counted(QStringLiteral("示例图片"), list.samplePictures),
        counted(QStringLiteral("# 链接"), list.hashLinks),
        counted(QStringLiteral("http 图片"), list.httpPictures),
        counted(QStringLiteral("载入失败"), page ? page->failedPictures : 0),
    };
    Line font{QStringLiteral("手机最小字号"), false};
    if (page && page->smallestFontPx >= 0) {
        const int px = phonePixels(page->smallestFontPx, page->pageWidth);
        font = {font.text + u' ' + QString::number(px) + QStringLiteral(" px"), px < SmallestReadablePx};
    }
    out.push_back(font);
    return out;
}

std::vector<Place> places(const ListCount &list, const std::optional<LaidOut> &page, const QStringList &snippets)
{
    std::vector<Place> out;
    for (const Part part : {Part::SamplePicture, Part::HashLink, Part::HttpPicture}) {
        for (std::size_t i = 0; i < list.items.size() && out.size() < MaxPlaces; ++i) {
            for (const SnippetFindings::Finding &f : list.items[i]->findings) {
                if (f.part == part && out.size() < MaxPlaces)
                    out.push_back({part, int(i), f.start, f.address});
            }
        }
    }
    if (!page)
        return out;
    for (const QString &address : page->failedAddresses) {
        if (out.size() == MaxPlaces)
            return out;
        int item = -1;
        for (std::size_t i = 0; i < list.items.size() && item < 0; ++i) {
            if (list.items[i]->pictures.contains(address))
                item = int(i);
        }
        out.push_back({Part::FailedPicture, item, -1, address});
    }
    if (page->smallestFontPx >= 0 && !page->smallestText.isEmpty() && out.size() < MaxPlaces) {
        int item = -1;
        for (qsizetype i = 0; i < snippets.size() && item < 0; ++i) {
            if (snippets[i].contains(page->smallestText))
                item = int(i);
        }
        out.push_back({Part::PhoneFontSize, item, -1, page->smallestText});
    }
    return out;
}

std::optional<Place> firstToReplace(const ListCount &list)
{
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        for (const SnippetFindings::Finding &f : list.items[i]->findings) {
            if (f.part == Part::SamplePicture || f.part == Part::HashLink)
                return Place{f.part, int(i), f.start, f.address};
        }
    }
    return std::nullopt;
}

} // namespace PageCheck
