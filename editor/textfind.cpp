#include "editor/textfind.h"

namespace {

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

bool wholeWordAt(const QString& s, int start, int length) {
    if (start > 0 && isWordChar(s.at(start - 1))) return false;
    const int end = start + length;
    return !(end < s.size() && isWordChar(s.at(end)));
}

}  // namespace

int findInText(const QString& haystack, const QString& needle, int from, const FindOptions& options) {
    if (needle.isEmpty()) return -1;
    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int n = int(needle.size());
    from = qBound(0, from, int(haystack.size()));
    if (options.forward) {
        for (int at = from; at <= haystack.size() - n;) {
            const int found = int(haystack.indexOf(needle, at, cs));
            if (found < 0) return -1;
            if (!options.wholeWord || wholeWordAt(haystack, found, n)) return found;
            at = found + 1;
        }
        return -1;
    }
    for (int at = from - n; at >= 0;) {
        const int found = int(haystack.lastIndexOf(needle, at, cs));
        if (found < 0) return -1;
        if (!options.wholeWord || wholeWordAt(haystack, found, n)) return found;
        at = found - 1;
    }
    return -1;
}
