#pragma once
// Finding a text in the editor's text, forward or backward, with match case and whole word.
#include <QString>

struct FindOptions {
    bool forward = true;
    bool matchCase = false;
    bool wholeWord = false;
};

// Searches `haystack` (one character per document position) for `needle`: forward
// for a match that starts at or after `from`, backward for one that ends at or
// before `from`. Returns the match's start, or -1.
int findInText(const QString& haystack, const QString& needle, int from, const FindOptions& options);
