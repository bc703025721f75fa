#pragma once

#include "Result.h"
#include "ShopType.h"

#include <QString>

#include <optional>

// The texts the panels' inputs and the page width start with, defined once
// for the window, the benchmarks and the tests.
namespace PanelDefaults {
inline const QString PageWidth = ShopType::pageWidth(ShopType::None);
inline const QString PictureWidth = QStringLiteral("180");
inline const QString OtherPictureWidth = QStringLiteral("190");
inline const QString PictureHeight = QStringLiteral("300");
inline const QString Colour = QStringLiteral("#000");
inline const QString DividerName = QStringLiteral("自定义标签");
inline const QString CustomName = QStringLiteral("自定义名");
} // namespace PanelDefaults

// What a generator reads from its panel and the window at the moment of a
// style click.
struct SectionInputs
{
    QString pageWidth = PanelDefaults::PageWidth; // lblleixing
    QString widthText;                            // cbb1
    QString heightText;                           // edt6
    QString colour;                               // edt2 or edtyouhuiquancolor
    QString name;                                 // edtname02 or edt10
};

// What the generators read from the panels as the window starts. (The custom
// panel's name starts as PanelDefaults::CustomName.)
inline SectionInputs defaultInputs()
{
    SectionInputs in;
    in.widthText = PanelDefaults::PictureWidth;
    in.heightText = PanelDefaults::PictureHeight;
    in.colour = PanelDefaults::Colour;
    in.name = PanelDefaults::DividerName;
    return in;
}

// A generator's outcome: a new code-edit text, nothing (no style chosen: the
// code edit keeps its text), or a failure shown to the user before anything
// was built.
using BuildResult = Result<std::optional<QString>>;

inline BuildResult built(const QString &snippet)
{
    return std::optional<QString>(snippet);
}

inline BuildResult keepCode()
{
    return std::optional<QString>();
}

using Generator = BuildResult (*)(int style, const SectionInputs &inputs);

// Enabled states of the related-sales width and height inputs.
struct InputStates
{
    bool widthEnabled = true;
    bool heightEnabled = true;
    bool operator==(const InputStates &o) const
    {
        return widthEnabled == o.widthEnabled && heightEnabled == o.heightEnabled;
    }
};
using InputRule = InputStates (*)(int style);
