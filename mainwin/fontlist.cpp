#include "mainwin/fontlist.h"

#include <QRegularExpression>
#include <algorithm>

QStringList fontFamilyChoices(QStringList families) {
    static const QRegularExpression foundry(QStringLiteral(R"(\s*\[[^\]]*\]$)"));
    for (QString& family : families) family.remove(foundry);
    families.removeAll(QString());
    families.removeDuplicates();
    std::sort(families.begin(), families.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return families;
}
