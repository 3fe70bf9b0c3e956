#pragma once
// Colour values as the settings file stores them: a signed 32-bit integer
// holding either an RGB colour as 0x00BBGGRR (red in the low byte) or a system
// colour as 0x80000000 + index. System colours follow the desktop's palette
// when drawn, so a value in index form is kept in that form: only a colour
// picked by the user becomes an RGB value.
#include <QColor>
#include <QPalette>

#include <optional>

namespace colourvalue {

// The system colour indexes.
enum SystemIndex {
    ScrollBar = 0,
    Desktop = 1,
    ActiveCaption = 2,
    InactiveCaption = 3,
    Menu = 4,
    Window = 5,
    WindowFrame = 6,
    MenuText = 7,
    WindowText = 8,
    CaptionText = 9,
    ActiveBorder = 10,
    InactiveBorder = 11,
    AppWorkspace = 12,
    Highlight = 13,
    HighlightText = 14,
    ButtonFace = 15,
    ButtonShadow = 16,
    GrayText = 17,
    ButtonText = 18,
    InactiveCaptionText = 19,
    ButtonHighlight = 20,
    DarkShadow3D = 21,
    Light3D = 22,
    InfoText = 23,
    InfoBackground = 24,
    // 25 is not used
    HotLight = 26,
    GradientActiveCaption = 27,
    GradientInactiveCaption = 28,
    MenuHighlight = 29,
    MenuBar = 30,
    SystemIndexCount = 31
};

constexpr qint32 systemColour(int index) { return qint32(0x80000000u + quint32(index)); }
constexpr qint32 rgb(int r, int g, int b) { return qint32(quint32(r & 0xFF) | quint32(g & 0xFF) << 8 | quint32(b & 0xFF) << 16); }

constexpr bool isSystem(qint32 v) { return (quint32(v) & 0xFF000000u) == 0x80000000u; }
constexpr int systemIndex(qint32 v) { return int(quint32(v) & 0x00FFFFFFu); }

// Named colours that the defaults and preset styles use.
constexpr qint32 black = rgb(0, 0, 0);
constexpr qint32 maroon = rgb(128, 0, 0);
constexpr qint32 green = rgb(0, 128, 0);
constexpr qint32 purple = rgb(128, 0, 128);
constexpr qint32 teal = rgb(0, 128, 128);
constexpr qint32 moneyGreen = rgb(192, 220, 192);
constexpr qint32 white = rgb(255, 255, 255);

// Where a system colour comes from in Qt's palette.
struct PaletteSource {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};
// The source of a system colour index; nullopt for an index without one
// (25, or beyond the last), which draws black.
std::optional<PaletteSource> paletteSource(int index);

// The colour to draw: RGB values as they are (any high byte other than the
// system colour mark is ignored), system colours from the palette (the
// application's palette when none is given).
QColor toColor(qint32 value);
QColor toColor(qint32 value, const QPalette& palette);
// A colour picked by the user, in RGB form (alpha ignored).
qint32 fromColor(const QColor& c);

}  // namespace colourvalue
