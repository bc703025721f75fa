// Micro-benchmarks of the window-free code: each generator, each style click
// up to the written preview file, building a list of items, page assembly
// with its scratch files, line-break normalisation, saving and opening a
// layout file, the content pieces the item editor and the page-wide
// address dialog work on, and the list panel's page check. The list sizes
// 1,000, 10,000 and 100,000 show how the cost grows: "per_item" should stay
// flat across sizes, and the fitted complexity should read O(N).
#include "ContentPieces.h"
#include "GeneratedItems.h"
#include "LayoutFile.h"
#include "LineBreaks.h"
#include "PageAddresses.h"
#include "PageCheck.h"
#include "PageOutput.h"
#include "PageRecovery.h"
#include "SampleAddresses.h"
#include "ScratchFiles.h"
#include "ScratchPlatform.h"
#include "SectionFrame.h"
#include "StyleSnippets.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

// A scratch folder of its own, so a run never touches the user's files.
struct Scratch
{
    QTemporaryDir dir;
    ScratchFiles files{dir.path(), std::make_unique<SaveFileWriter>()};
    PageOutput output{files};

    Scratch()
    {
        if (!dir.isValid()) {
            std::fprintf(stderr, "cannot create a temporary folder\n");
            std::exit(1);
        }
    }
};

// Set when a benchmark finds a wrong result; the run then fails, so the
// smoke run in scripts/test catches it.
bool wrongResult = false;

void wrong(const char *what)
{
    std::fprintf(stderr, "zanfor-microbench: %s\n", what);
    wrongResult = true;
}

void perItem(benchmark::State &state, std::int64_t items)
{
    state.SetComplexityN(items);
    state.counters["per_item"] = benchmark::Counter(
        double(items), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// One generator building one style from the panel defaults.
void generator(benchmark::State &state, StyleRef ref)
{
    const Generator generate = sectionInfo(ref.section).generate;
    const SectionInputs inputs = defaultInputs();
    for (auto _ : state)
        benchmark::DoNotOptimize(generate(ref.style, inputs));
}

// A click beside the chosen style: the generator runs again and the preview
// file is written, all a style click does before the web view loads.
void styleClick(benchmark::State &state, StyleRef ref)
{
    Scratch scratch;
    SectionFrame frame(sectionInfo(ref.section), scratch.output);
    const SectionInputs inputs = defaultInputs();
    frame.clickStyle(ref.style, inputs);
    for (auto _ : state) {
        const ClickOutcome outcome = frame.clickBeside(inputs);
        if (!outcome.error().isEmpty())
            wrong("the preview file was not written");
    }
}

// N items built the way a seller builds them, cycling through every
// style: the generator runs, then the snippet and its display name are
// appended to the list. (The preview file a click also writes is timed per
// style by StyleClick above.)
void buildItems(benchmark::State &state)
{
    const int n = int(state.range(0));
    const std::vector<StyleRef> styles = everyStyle();
    const SectionInputs inputs = defaultInputs();
    for (auto _ : state) {
        GeneratedItems items;
        for (int i = 0; i < n; ++i) {
            const StyleRef &ref = styles[std::size_t(i) % styles.size()];
            const SectionInfo &info = sectionInfo(ref.section);
            const BuildResult built = info.generate(ref.style, inputs);
            items.append(*built.value(), QLatin1String("  ") % info.styles.at(ref.style) % u'-' % info.title);
        }
        if (items.count() != n)
            wrong("not every item was added");
    }
    perItem(state, n);
}

qint64 pageBytes(const QStringList &snippets)
{
    qint64 size = 0;
    for (const QString &s : snippets)
        size += ScratchPlatform::encode(s).size() + 2;
    return size;
}

// The page preview without the web view: the list file, the read-back with
// normalised line breaks into the memo, the preview file.
void pagePreview(benchmark::State &state)
{
    const int n = int(state.range(0));
    const QStringList snippets = cyclingSnippets(n);
    Scratch scratch;
    for (auto _ : state) {
        const PreviewResult result = scratch.output.pagePreview(snippets);
        if (!result.ok())
            wrong("a scratch file was not written");
    }
    // The fast road must still give the page: the snippets each followed by
    // CR LF, every line break made CR LF.
    if (scratch.output.memo() != normalizeLineBreaks(PageOutput::joinPage(snippets)))
        wrong("the memo is not the page");
    state.SetBytesProcessed(state.iterations() * pageBytes(snippets));
    perItem(state, n);
}

// The same page with every line break a lone LF, so each one grows.
QString lfPage(int items)
{
    QString text = PageOutput::joinPage(cyclingSnippets(items));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

void normalize(benchmark::State &state)
{
    const int n = int(state.range(0));
    const QString text = lfPage(n);
    for (auto _ : state)
        benchmark::DoNotOptimize(normalizeLineBreaks(text));
    state.SetBytesProcessed(state.iterations() * text.size() * qint64(sizeof(QChar)));
    perItem(state, n);
}

// The page preview's road: the same page in the scratch files' encoding.
void normalizeBytes(benchmark::State &state)
{
    const int n = int(state.range(0));
    const QString text = lfPage(n);
    const QByteArray bytes = ScratchPlatform::encode(text);
    for (auto _ : state)
        benchmark::DoNotOptimize(normalizeLineBreakBytes(bytes));

    // Both must agree on every kind of break: the page's breaks are turned
    // in turn into CR LF, LF, CR and LF CR (two breaks), next to Chinese text.
    const QString breaks[] = {QStringLiteral("\r\n"), QStringLiteral("\n"), QStringLiteral("\r"),
                              QStringLiteral("\n\r")};
    QString mixed;
    qsizetype turn = 0;
    for (const QStringView line : QStringView(text).split(u'\n'))
        mixed += line % breaks[turn++ % 4];
    mixed += u'\r';
    const QByteArray mixedBytes = ScratchPlatform::encode(mixed);
    if (ScratchPlatform::decode(normalizeLineBreakBytes(mixedBytes)) != normalizeLineBreaks(mixed)
        || ScratchPlatform::decode(normalizeLineBreakBytes(bytes)) != normalizeLineBreaks(text))
        wrong("normalising the bytes differs from normalising the text");
    state.SetBytesProcessed(state.iterations() * bytes.size());
    perItem(state, n);
}

Layout cyclingLayout(int items)
{
    return Layout{ShopType::Market, cyclingNames(items), cyclingSnippets(items)};
}

// Saving the list to a layout file, flushed to disk: what Save costs the
// window (10,000 items make about 13 MB).
void layoutSave(benchmark::State &state)
{
    const int n = int(state.range(0));
    const Layout layout = cyclingLayout(n);
    Scratch scratch;
    const QString path = scratch.dir.filePath(QStringLiteral("page.zlayout"));
    for (auto _ : state) {
        if (!LayoutFile::save(path, layout).ok())
            wrong("the layout was not saved");
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
    perItem(state, n);
}

// Opening it again: reading, checking every field and building the lists.
void layoutOpen(benchmark::State &state)
{
    const int n = int(state.range(0));
    const Layout layout = cyclingLayout(n);
    Scratch scratch;
    const QString path = scratch.dir.filePath(QStringLiteral("page.zlayout"));
    if (!LayoutFile::save(path, layout).ok())
        wrong("the layout was not saved");
    Result<Layout> opened = Failure{};
    for (auto _ : state)
        opened = LayoutFile::open(path);
    if (!opened.ok() || opened.value() != layout)
        wrong("the layout opened is not the one saved");
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
    perItem(state, n);
}

// The recovery copy written once, flushed to disk: the worker thread's
// share, which the window never waits for.
void recoveryWrite(benchmark::State &state)
{
    const int n = int(state.range(0));
    const Layout layout = cyclingLayout(n);
    Scratch scratch;
    const RecoveryStore store(scratch.dir.path(), 1, [](int) { return false; });
    const LayoutFile::Origin origin{scratch.dir.filePath(QStringLiteral("page.zlayout")), true, {}};
    for (auto _ : state) {
        if (!store.write(layout, origin).ok())
            wrong("the recovery copy was not written");
    }
    perItem(state, n);
}

// What a change costs the window while the recovery copy is written behind
// it: the longest gap between the ticks of a 1 ms timer from the write's
// request until it is done, in ms ("stall").
void recoveryStall(benchmark::State &state)
{
    const int n = int(state.range(0));
    const Layout layout = cyclingLayout(n);
    Scratch scratch;
    auto store = std::make_shared<RecoveryStore>(scratch.dir.path(), 1, [](int) { return false; });
    const LayoutFile::Origin origin{QString(), true, {}};
    RecoveryWriter writer(store, [&] { return RecoveryWriter::Snapshot{true, layout, origin}; });
    double longest = 0;
    for (auto _ : state) {
        const int before = writer.writes();
        QEventLoop loop;
        QTimer tick;
        QElapsedTimer since;
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
            longest = std::max(longest, since.nsecsElapsed() / 1e6);
            since.restart();
            if (writer.writes() > before)
                loop.quit();
        });
        tick.start(1);
        since.start();
        writer.flush();
        longest = std::max(longest, since.nsecsElapsed() / 1e6);
        loop.exec();
    }
    state.counters["stall_ms"] = longest;
    perItem(state, n);
}

// Opening the item editor on the largest snippet any style builds: its
// pieces, each text checked against what the parser read.
void editorPieces(benchmark::State &state)
{
    QString largest;
    for (const StyleRef &ref : everyStyle()) {
        const QString snippet = snippetFor(ref);
        if (snippet.size() > largest.size())
            largest = snippet;
    }
    std::size_t found = 0;
    for (auto _ : state)
        found = ContentPieces(largest).pieces().size();
    if (found < 20)
        wrong("the largest snippet lost its pieces");
    state.SetBytesProcessed(state.iterations() * largest.size() * qint64(sizeof(QChar)));
}

// The page-wide dialog opening: every picture and link of the page counted.
void pageAddresses(benchmark::State &state)
{
    const int n = int(state.range(0));
    const QStringList snippets = cyclingSnippets(n);
    std::vector<PageAddress> found;
    for (auto _ : state)
        found = collectPageAddresses(snippets);
    int uses = 0;
    for (const PageAddress &a : found)
        uses += a.uses;
    if (found.empty() || uses < n)
        wrong("the page's addresses were not all found");
    perItem(state, n);
}

// Its OK: a sample picture and the "#" links replaced across the page.
void replaceAddresses(benchmark::State &state)
{
    const int n = int(state.range(0));
    const QStringList snippets = cyclingSnippets(n);
    const std::vector<AddressReplacement> replacements = {
        {PieceKind::Picture, QString::fromUtf16(SampleAddresses::SamplePic01),
         QStringLiteral("https://img.shop.cn/1.png")},
        {PieceKind::Link, QStringLiteral("#"), QStringLiteral("https://shop.cn/")},
    };
    std::size_t changed = 0;
    for (auto _ : state) {
        const Result<PageReplacement> replaced = replacePageAddresses(snippets, replacements);
        changed = replaced ? replaced->changedItems.size() : 0;
    }
    if (changed == 0)
        wrong("the page-wide replacement changed nothing");
    perItem(state, n);
}

// A page of N items cycling through every style, each made a snippet of its
// own, so nothing a count keeps per distinct snippet is of use to another.
QStringList distinctSnippets(int items)
{
    QStringList snippets = cyclingSnippets(items);
    for (qsizetype i = 0; i < snippets.size(); ++i)
        snippets[i] += QStringLiteral("<!-- %1 -->").arg(i);
    return snippets;
}

// The page check counted for the first time: every snippet read.
void pageCheckFirst(benchmark::State &state)
{
    const int n = int(state.range(0));
    const QStringList snippets = distinctSnippets(n);
    PageCheck::ListCount list;
    for (auto _ : state)
        list = PageCheck::Counter().count(snippets);
    // Read on two threads, the page counts as its few distinct snippets do
    // read on one.
    const PageCheck::ListCount few = PageCheck::Counter().count(cyclingSnippets(n));
    if (list.samplePictures != few.samplePictures || list.hashLinks != few.hashLinks
        || list.httpPictures != few.httpPictures || list.samplePictures < n / 2)
        wrong("the page check counted a page of distinct snippets otherwise");
    perItem(state, n);
}

// Counted again after one entry changed, as after an Add or an edit.
void pageCheckAgain(benchmark::State &state)
{
    const int n = int(state.range(0));
    const QStringList before = distinctSnippets(n);
    QStringList after = before;
    after[n / 2] = QStringLiteral("<p>edited</p>");
    PageCheck::Counter counter;
    counter.count(before);
    bool turn = false;
    PageCheck::ListCount list;
    for (auto _ : state) {
        list = counter.count(turn ? before : after);
        turn = !turn;
    }
    if (list.items.size() != std::size_t(n))
        wrong("the page check did not count every entry");
    perItem(state, n);
}

void listSizes(benchmark::internal::Benchmark *b)
{
    // Wall-clock time: page assembly waits for the file system too.
    b->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Complexity(benchmark::oN);
}

} // namespace

int main(int argc, char **argv)
{
    // The recovery copy's writer runs an event loop.
    QCoreApplication app(argc, argv);
    for (const StyleRef &ref : everyStyle()) {
        const std::string name = "section" + std::to_string(ref.section) + "/style" + std::to_string(ref.style);
        benchmark::RegisterBenchmark(("Generator/" + name).c_str(), generator, ref)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("StyleClick/" + name).c_str(), styleClick, ref)->Unit(benchmark::kMicrosecond);
    }
    listSizes(benchmark::RegisterBenchmark("BuildItems", buildItems));
    listSizes(benchmark::RegisterBenchmark("PagePreview", pagePreview));
    listSizes(benchmark::RegisterBenchmark("NormalizeLineBreaks", normalize));
    listSizes(benchmark::RegisterBenchmark("NormalizeLineBreakBytes", normalizeBytes));
    listSizes(benchmark::RegisterBenchmark("LayoutSave", layoutSave));
    listSizes(benchmark::RegisterBenchmark("LayoutOpen", layoutOpen));
    benchmark::RegisterBenchmark("EditorPieces/largest", editorPieces)->Unit(benchmark::kMicrosecond);
    // Ten times the target page as well, to show the cost grows linearly.
    for (const auto &[name, run] :
         {std::pair{"PageAddresses", pageAddresses}, std::pair{"ReplacePageAddresses", replaceAddresses}})
        benchmark::RegisterBenchmark(name, run)
            ->Arg(1000)
            ->Arg(10000)
            ->Unit(benchmark::kMillisecond)
            ->Complexity(benchmark::oN);
    // Work that leaves the GUI thread, timed on the wall clock.
    for (const auto &[name, run] :
         {std::pair{"PageCheckFirstCount", pageCheckFirst}, std::pair{"PageCheckAfterOneChange", pageCheckAgain},
          std::pair{"RecoveryWrite", recoveryWrite}, std::pair{"RecoveryStall", recoveryStall}})
        benchmark::RegisterBenchmark(name, run)
            ->Arg(1000)
            ->Arg(10000)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Complexity(benchmark::oN);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return wrongResult ? 1 : 0;
}
