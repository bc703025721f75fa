#include "StyleSnippets.h"

std::vector<StyleRef> everyStyle()
{
    std::vector<StyleRef> refs;
    for (const SectionInfo &info : sectionTable()) {
        if (!info.generate)
            continue;
        for (int style = 0; style < info.styles.size(); ++style)
            refs.push_back({info.number, style});
    }
    return refs;
}

std::vector<StyleRef> previewCycle()
{
    std::vector<StyleRef> refs;
    for (const StyleRef &ref : everyStyle()) {
        const SectionInfo &info = sectionInfo(ref.section);
        if (info.preview == PreviewKind::Standard && info.styles.size() > 1)
            refs.push_back(ref);
    }
    return refs;
}

QString snippetFor(StyleRef ref)
{
    const BuildResult result = sectionInfo(ref.section).generate(ref.style, defaultInputs());
    return result.ok() ? result.value().value_or(QString()) : QString();
}

QStringList cyclingSnippets(int count)
{
    const std::vector<StyleRef> styles = everyStyle();
    QStringList built;
    for (const StyleRef &ref : styles)
        built.append(snippetFor(ref));
    QStringList out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out.append(built.at(i % built.size()));
    return out;
}

QStringList cyclingNames(int count)
{
    const std::vector<StyleRef> styles = everyStyle();
    QStringList out;
    out.reserve(count);
    for (int i = 0; i < count; ++i) {
        const StyleRef &ref = styles.at(std::size_t(i) % styles.size());
        const SectionInfo &info = sectionInfo(ref.section);
        out.append(QLatin1String("  ") % info.styles.at(ref.style) % u'-' % info.title);
    }
    return out;
}
