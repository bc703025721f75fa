#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

// What a page still holds that its seller has to replace, and how its text
// reads on a buyer's phone: the lines of the list panel's check. The first
// three parts are counted in the list's snippets; the last two come from
// what the web engine laid out at the last page preview.
namespace PageCheck {

enum class Part {
    SamplePicture, // a picture address that is one of the program's samples
    HashLink,      // a link whose address is empty or starts with "#"
    HttpPicture,   // a picture over plain http:, which https pages upgrade or block
    FailedPicture, // a picture of the last page preview that did not load
    PhoneFontSize, // the smallest visible text of the last page preview, on a phone
};

// What a part's line reads before its number.
QString label(Part part);

// The width of a phone's screen in CSS pixels: platforms lay a description
// out at its page width and scale it down to this.
inline constexpr int PhoneWidth = 375;
// Text below this size on a phone is hard to read.
inline constexpr int SmallestReadablePx = 12;
// The places a tooltip names at most.
inline constexpr int MaxPlaces = 10;

// What one snippet holds of the first three parts, in the snippet's order:
// where each address starts in the snippet, and the address.
struct SnippetFindings
{
    struct Finding
    {
        Part part;
        qsizetype start;
        QString address;
    };
    std::vector<Finding> findings;
    QStringList pictures; // every picture address, for naming the entry of a failed one
};

// The counts of the list's parts, with each entry's findings to find places by.
struct ListCount
{
    int samplePictures = 0;
    int hashLinks = 0;
    int httpPictures = 0;
    // One per entry of the list counted.
    std::vector<std::shared_ptr<const SnippetFindings>> items;
};

// What the engine laid out at a page preview.
struct LaidOut
{
    // The smallest computed font size of any visible text, in CSS pixels;
    // below zero when the page shows no text.
    double smallestFontPx = -1;
    QString smallestText;
    int failedPictures = 0;
    QStringList failedAddresses; // the first few, as their src reads
    // The shop type's page width the preview was laid out at.
    int pageWidth = 750;
};

// Counts the parts of a list of snippets. What it found in each distinct
// snippet is kept until the next count, so counting again after a change
// reads only the snippets that changed. One thread at a time; a long list
// of snippets not read before is read on two.
class Counter
{
public:
    ListCount count(const QStringList &snippets);

private:
    QHash<QString, std::shared_ptr<const SnippetFindings>> m_known;
};

// A smallest font size in CSS pixels as a phone shows a page laid out at
// `pageWidth`: scaled to the phone's width, rounded down.
int phonePixels(double cssPx, int pageWidth);

struct Line
{
    QString text;
    bool warning = false;
};

// The check's five lines in order, each a label, a blank and the number; a
// count above zero, or a phone font size under 12 px, is a warning. Before
// any page preview (`page` unset), no picture has failed and the font size
// has no number.
std::vector<Line> lines(const ListCount &list, const std::optional<LaidOut> &page);

// A place of the page behind a part: the entry (-1 when it cannot be told),
// where its address starts in the entry's snippet (-1 for none), and the
// address or text.
struct Place
{
    Part part;
    int item = -1;
    qsizetype start = -1;
    QString what;
};

// The first MaxPlaces places, part by part in the lines' order. The entry
// of a failed picture is the first using its address; that of the smallest
// text the first whose snippet holds it as it reads.
std::vector<Place> places(const ListCount &list, const std::optional<LaidOut> &page, const QStringList &snippets);

// Where a seller starts replacing: the first sample picture or "#" link of
// the list.
std::optional<Place> firstToReplace(const ListCount &list);

} // namespace PageCheck
