#include "Templates.h"

#include "SampleAddresses.h"

#include <QFile>
#include <QStringView>

#include <array>
#include <iterator>

namespace {

// Resource names in the order of TemplateId.
constexpr std::array<const char *, 10> templateNames{
    "lbl003",    "lblcanshu2", "lblcanshu3", "lblmorenchima", "lbltuwen2",
    "lbltuwen3", "lblxijie01", "lbldapei",   "lblbidu",       "lblwenda",
};
static_assert(std::size(templateNames) == std::size_t(TemplateId::LblWenda) + 1, "one resource name per template");

struct SampleToken
{
    QLatin1String token;
    QStringView value;
};

// The template files carry these words where a sample address belongs, so
// the addresses live in one place. All picture tokens have two digits, so
// none is the beginning of another and the order of replacement is free.
const std::array<SampleToken, 15> &sampleTokens()
{
    using namespace SampleAddresses;
    static const std::array<SampleToken, 15> tokens{{
        {QLatin1String("SamplePic01"), SamplePic01},
        {QLatin1String("SamplePic02"), SamplePic02},
        {QLatin1String("SamplePic03"), SamplePic03},
        {QLatin1String("SamplePic04"), SamplePic04},
        {QLatin1String("SamplePic05"), SamplePic05},
        {QLatin1String("SamplePic06"), SamplePic06},
        {QLatin1String("SamplePic07"), SamplePic07},
        {QLatin1String("SamplePic08"), SamplePic08},
        {QLatin1String("SamplePic09"), SamplePic09},
        {QLatin1String("SamplePic10"), SamplePic10},
        {QLatin1String("SamplePic11"), SamplePic11},
        {QLatin1String("SamplePic12"), SamplePic12},
        {QLatin1String("SamplePic13"), SamplePic13},
        {QLatin1String("SamplePic14"), SamplePic14},
        {QLatin1String("SamplePlace"), SamplePlace},
    }};
    return tokens;
}

QString loadTemplate(const char *name)
{
    const QString path = QLatin1String(":/templates/") % QLatin1String(name) % QLatin1String(".html");
    QFile file(path);
    // The templates are compiled into the program: a missing one is a build
    // fault, never something the user can cause.
    if (!file.open(QIODevice::ReadOnly))
        qFatal("Built-in template %s cannot be opened", name);
    QString text = QString::fromUtf8(file.readAll());
    Q_ASSERT(!text.isEmpty());
    if (text.isEmpty())
        qFatal("Built-in template %s is empty", name);
    for (const SampleToken &sample : sampleTokens())
        text.replace(sample.token, sample.value.toString());
    return text;
}

} // namespace

const QString &templateText(TemplateId id)
{
    static const std::array<QString, std::size(templateNames)> texts = [] {
        std::array<QString, std::size(templateNames)> loaded;
        for (std::size_t i = 0; i < loaded.size(); ++i)
            loaded[i] = loadTemplate(templateNames[i]);
        return loaded;
    }();
    return texts.at(std::size_t(id));
}
