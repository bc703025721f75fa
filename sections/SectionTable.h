#pragma once

#include "Generator.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

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
    int number = 0;        // 1..11: rzpnlleiN, rzpnlcanN
    QString buttonCaption; // function-list caption
    QPoint buttonPos;      // in rzpnl2
    int panelWidth = 0;
    int panelHeight = 0;
    PanelColour colour = PanelColour::ButtonFace;
    QString titleName; // lbl01 ... (empty: the panel has no title label)
    QString title;     // the section name, unless nameFromEdit
    QString titleText; // the title label's text when not the title
    QPoint titlePos;
    bool nameFromEdit = false; // the divider bar takes its name from edtname02
    QString groupName;         // rzrdgrpNN (empty for the custom section)
    QRect groupRect;
    int columns = 2;
    int itemHeight = 25;
    QStringList styles;
    QString placeholder; // the code edit's initial text
    QString addName;
    QRect addRect;
    QString cancelName;
    QRect cancelRect;
    PreviewKind preview = PreviewKind::Standard;
    bool cancelKeepsChoice = false;
    bool startsInWorkArea = false; // in the work area from the start, hidden
    QString openNotice;            // shown each time the panel is opened
    PanelExtras extras = PanelExtras::None;
    Generator generate = nullptr;
    InputRule inputRule = nullptr; // set where styles enable or disable inputs

    QString buttonName() const { return QStringLiteral("rzpnllei%1").arg(number); }
    QString panelName() const { return QStringLiteral("rzpnlcan%1").arg(number); }
};

// The sections in function-list order; sectionInfo(n) is number n.
const std::vector<SectionInfo> &sectionTable();
const SectionInfo &sectionInfo(int number);

inline constexpr int RelatedSalesSection = 1;
inline constexpr int DividerBarSection = 2;
inline constexpr int CouponSection = 9;
inline constexpr int CustomSection = 10;
inline constexpr int SpacerLineSection = 11;
