#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What a generator reads from its panel and the window at the moment of a
// style click.
struct SectionInputs
{
    QString pageWidth = QStringLiteral("750"); // lblleixing
    QString widthText;                         // cbb1
    QString heightText;                        // edt6
    QString colour;                            // edt2 or edtyouhuiquancolor
    QString name;                              // edtname02
};

// The outcome of a generator run: a new code-edit text, nothing (no style
// chosen: the code edit keeps its text), or a failure message shown to the
// user before anything was built.
struct BuildResult
{
    std::optional<QString> snippet;
    QString error;

    static BuildResult built(const QString &snippet) { return {snippet, {}}; }
    static BuildResult keep() { return {}; }
    static BuildResult failed(const QString &message) { return {std::nullopt, message}; }
    bool failed() const { return !error.isEmpty(); }
};

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

enum class PreviewKind {
    Standard, // code edit -> memo -> preview file -> web view
    Coupon,   // three blocks side by side, memo untouched
    None,     // the build only fills the code edit
};

enum class PanelColour { ButtonFace, Light3D, ButtonShadow, AppWorkspace };

// Widgets a panel carries beyond the common frame.
enum class PanelExtras { None, RelatedSales, DividerBar, Coupon, Custom };

struct SectionInfo
{
    int number = 0;             // 1..11: rzpnlleiN, rzpnlcanN
    QString buttonCaption;      // function-list caption
    QPoint buttonPos;           // in rzpnl2
    int panelWidth = 0;
    int panelHeight = 0;
    PanelColour colour = PanelColour::ButtonFace;
    QString titleName;          // lbl01 ... (empty: the panel has no title label)
    QString title;              // the section name, unless nameFromEdit
    QPoint titlePos;
    bool nameFromEdit = false;  // the divider bar takes its name from edtname02
    QString groupName;          // rzrdgrpNN (empty for the custom section)
    QRect groupRect;
    int columns = 2;
    int itemHeight = 25;
    QStringList styles;
    QString codeEditName;       // edtNN
    QString placeholder;        // the code edit's initial text
    QString addName;
    QRect addRect;
    QString cancelName;
    QRect cancelRect;
    PreviewKind preview = PreviewKind::Standard;
    bool cancelKeepsChoice = false;
    PanelExtras extras = PanelExtras::None;
    Generator generate = nullptr;
    InputRule inputRule = nullptr; // set where styles enable or disable inputs

    QString buttonName() const { return QStringLiteral("rzpnllei%1").arg(number); }
    QString panelName() const { return QStringLiteral("rzpnlcan%1").arg(number); }
};

// The eleven sections in function-list order; sectionInfo(n) is number n.
const std::vector<SectionInfo> &sectionTable();
const SectionInfo &sectionInfo(int number);

inline constexpr int RelatedSalesSection = 1;
inline constexpr int DividerBarSection = 2;
inline constexpr int CouponSection = 9;
inline constexpr int CustomSection = 10;
inline constexpr int SpacerLineSection = 11;
