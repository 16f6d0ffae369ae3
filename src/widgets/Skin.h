// The one palette of the program's windows: a calm blue on white. Widgets and the
// picture generator both take their colours from here, so a change of scheme is
// made in one place.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

namespace widgets::skin {

// Chinese text; the program maps this family to a Song face at start-up.
inline const QString kFontFamily = QStringLiteral("宋体");
inline constexpr int kFontPointSize = 9;

inline constexpr QRgb kText = 0xff000000;          // black
inline constexpr QRgb kHoverText = 0xff0050c8;     // the blue text under the mouse
inline constexpr QRgb kDisabledText = 0xff808080;  // RGB(128,128,128)

inline constexpr QRgb kWindow = 0xffffffff;      // window body
inline constexpr QRgb kPanel = 0xffebf2fa;       // bars and panels behind buttons
inline constexpr QRgb kBorder = 0xff7aa0cd;      // frames of buttons and gauges
inline constexpr QRgb kDarkBorder = 0xff3c6496;  // frames under the mouse or pressed
inline constexpr QRgb kFocus = 0xff2f6fc0;       // focus marks
inline constexpr QRgb kFaceTop = 0xfffdfeff;     // raised face, top of its gradient
inline constexpr QRgb kFaceBottom = 0xffd6e4f3;  // raised face, bottom of its gradient
inline constexpr QRgb kGlow = 0xff9cc8f5;        // hover glow around raised buttons

inline constexpr QRgb kDialogBack = 0xff98b4d1;   // RGB(152,180,209), the prompt box body
inline constexpr QRgb kDialogTitle = 0xff3f6a98;  // the prompt box title strip

inline constexpr QRgb kGaugeStart = 0xff78b4ec;  // gauge fill, left end
inline constexpr QRgb kGaugeEnd = 0xff2a6cc0;    // gauge fill, right end
inline constexpr QRgb kGaugeWarnStart = 0xfff3b45a;
inline constexpr QRgb kGaugeWarnEnd = 0xffd2452d;
inline constexpr QRgb kGaugeTrough = 0xfff4f8fc;

inline constexpr QRgb kLcdOn = 0xff1f5fb0;   // lit segments
inline constexpr QRgb kLcdOff = 0xffe3eaf3;  // unlit segments, a faint trace
inline constexpr QRgb kLcdBack = 0xffffffff;

// Question tiles of the number bar (see the picture generator).
inline constexpr QRgb kTileNeutral = 0xffeef3f9;
inline constexpr QRgb kTileRight = 0xff7cc576;
inline constexpr QRgb kTileWrong = 0xffe5736a;
inline constexpr QRgb kTileAnswered = 0xff8db7e6;

inline QFont font(int pointSize = kFontPointSize, bool bold = false) {
    QFont f(kFontFamily, pointSize);
    f.setBold(bold);
    return f;
}

// The colour rule every button's text follows.
inline QColor textColor(bool enabled, bool hovered) {
    if (!enabled) return QColor::fromRgb(kDisabledText);
    return QColor::fromRgb(hovered ? kHoverText : kText);
}

}  // namespace widgets::skin
