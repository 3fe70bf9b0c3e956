#include "settings/colourvalue.h"

#include <QGuiApplication>

#include <array>

namespace colourvalue {
namespace {

using G = QPalette::ColorGroup;
using R = QPalette::ColorRole;

// The one place where system colours meet Qt's palette. Qt has no caption,
// border or desktop colours (the window manager draws those), so they take
// the palette colours that play the same part: captions the selection
// colours, borders and the work area the button shades.
const std::array<std::optional<PaletteSource>, SystemIndexCount> sources = {{
    PaletteSource{G::Active, R::Button},           // 0 scroll bar
    PaletteSource{G::Active, R::Dark},             // 1 desktop
    PaletteSource{G::Active, R::Highlight},        // 2 active caption
    PaletteSource{G::Inactive, R::Mid},            // 3 inactive caption
    PaletteSource{G::Active, R::Window},           // 4 menu
    PaletteSource{G::Active, R::Base},             // 5 window
    PaletteSource{G::Active, R::Shadow},           // 6 window frame
    PaletteSource{G::Active, R::WindowText},       // 7 menu text
    PaletteSource{G::Active, R::Text},             // 8 window text
    PaletteSource{G::Active, R::HighlightedText},  // 9 caption text
    PaletteSource{G::Active, R::Button},           // 10 active border
    PaletteSource{G::Inactive, R::Button},         // 11 inactive border
    PaletteSource{G::Active, R::Mid},              // 12 application work space
    PaletteSource{G::Active, R::Highlight},        // 13 highlight
    PaletteSource{G::Active, R::HighlightedText},  // 14 highlight text
    PaletteSource{G::Active, R::Button},           // 15 button face
    PaletteSource{G::Active, R::Dark},             // 16 button shadow
    PaletteSource{G::Disabled, R::Text},           // 17 grey text
    PaletteSource{G::Active, R::ButtonText},       // 18 button text
    PaletteSource{G::Inactive, R::WindowText},     // 19 inactive caption text
    PaletteSource{G::Active, R::Light},            // 20 button highlight
    PaletteSource{G::Active, R::Shadow},           // 21 3D dark shadow
    PaletteSource{G::Active, R::Midlight},         // 22 3D light
    PaletteSource{G::Active, R::ToolTipText},      // 23 info text
    PaletteSource{G::Active, R::ToolTipBase},      // 24 info background
    std::nullopt,                                  // 25 not used
    PaletteSource{G::Active, R::Link},             // 26 hot light
    PaletteSource{G::Active, R::Highlight},        // 27 gradient of the active caption
    PaletteSource{G::Inactive, R::Midlight},       // 28 gradient of the inactive caption
    PaletteSource{G::Active, R::Highlight},        // 29 menu highlight
    PaletteSource{G::Active, R::Window},           // 30 menu bar
}};

}  // namespace

std::optional<PaletteSource> paletteSource(int index) {
    if (index < 0 || index >= SystemIndexCount) return std::nullopt;
    return sources[size_t(index)];
}

QColor toColor(qint32 value, const QPalette& palette) {
    if (isSystem(value)) {
        const auto src = paletteSource(systemIndex(value));
        return src ? palette.color(src->group, src->role) : QColor(Qt::black);
    }
    const quint32 v = quint32(value);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

QColor toColor(qint32 value) { return toColor(value, QGuiApplication::palette()); }

qint32 fromColor(const QColor& c) {
    const QColor rgbColor = c.toRgb();
    return rgb(rgbColor.red(), rgbColor.green(), rgbColor.blue());
}

}  // namespace colourvalue
