#include "platform/formplacement.h"

#include "platform/inifile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

// The show states as stored.
constexpr int kShowNormal = 1, kShowMinimised = 2, kShowMaximised = 3;

QString rectText(const QRect& r) {
    return QStringLiteral("%1,%2,%3,%4").arg(r.left()).arg(r.top()).arg(r.left() + r.width()).arg(r.top() + r.height());
}

bool parseRect(const QString& text, QRect* out) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) return false;
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok) return false;
    }
    if (v[2] <= v[0] || v[3] <= v[1]) return false;
    *out = QRect(QPoint(v[0], v[1]), QSize(v[2] - v[0], v[3] - v[1]));
    return true;
}

bool onSomeScreen(const QRect& r) {
    for (const QScreen* s : QGuiApplication::screens())
        if (s->availableGeometry().intersects(r)) return true;
    return false;
}

}  // namespace

void FormPlacement::setIniFile(const QString& path, const QString& section) {
    path_ = path;
    section_ = section;
}

void FormPlacement::restore(QWidget& window) const {
    if (!active()) return;
    const IniDocument doc = IniFile(path_).read();
    QRect normal;
    if (!parseRect(doc.readString(section_, QStringLiteral("NormPos")), &normal)) return;
    const int show = doc.readInteger(section_, QStringLiteral("ShowCmd"), kShowNormal);
    window.setWindowState(Qt::WindowNoState);
    window.resize(normal.size().expandedTo(window.minimumSize()));
    if (onSomeScreen(normal)) {
        window.move(normal.topLeft());
    } else if (const QScreen* s = window.screen()) {
        const QRect avail = s->availableGeometry();
        window.move(avail.center() - QPoint(window.width() / 2, window.height() / 2));
    }
    if (show == kShowMaximised) window.setWindowState(Qt::WindowMaximized);
    else if (show == kShowMinimised) window.setWindowState(Qt::WindowMinimized);
}

void FormPlacement::save(const QWidget& window) const {
    if (!active()) return;
    const Qt::WindowStates state = window.windowState();
    const int show = state & Qt::WindowMinimized ? kShowMinimised
                     : state & Qt::WindowMaximized ? kShowMaximised
                                                   : kShowNormal;
    const bool normal = show == kShowNormal;
    const QRect geometry = normal ? QRect(window.pos(), window.size()) : window.normalGeometry();
    const QRect saved = geometry.isValid() ? geometry : QRect(window.pos(), window.size());
    IniFile(path_).write({{section_, QStringLiteral("FormVersion"), IniFile::integerText(0)},
                          {section_, QStringLiteral("Flags"), IniFile::integerText(0)},
                          {section_, QStringLiteral("ShowCmd"), IniFile::integerText(show)},
                          {section_, QStringLiteral("PixelsPerInch"), IniFile::integerText(window.logicalDpiX())},
                          {section_, QStringLiteral("MinMaxPos"), QStringLiteral("-1,-1,-1,-1")},
                          {section_, QStringLiteral("NormPos"), rectText(saved)}});
}
