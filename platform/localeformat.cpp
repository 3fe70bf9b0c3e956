#include "platform/localeformat.h"

#include <QLocale>

namespace localefmt {

QString shortDate(const QDate& d) { return QLocale().toString(d, QLocale::ShortFormat); }

QString longTimeFormat() {
    // Qt's long format ends in a time zone ("t"); the diary's times never carry one.
    const QString fmt = QLocale().timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (int i = 0; i < fmt.size(); ++i) {
        const QChar c = fmt[i];
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (!quoted && c == QLatin1Char('t')) continue;
        out += c;
    }
    out = out.trimmed();
    // A separator that stood before the zone is left dangling; drop it.
    while (!out.isEmpty() && (out.back() == QLatin1Char(',') || out.back() == QLatin1Char('(')))
        out = out.left(out.size() - 1).trimmed();
    out.replace(QStringLiteral("()"), QString());
    return out.trimmed();
}

QString longTime(const QTime& t) { return QLocale().toString(t, longTimeFormat()); }

}  // namespace localefmt
