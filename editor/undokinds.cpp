#include "editor/undokinds.h"

#include <QTextDocument>
#include <algorithm>

void UndoKinds::attach(QTextDocument* doc) {
    if (doc_) disconnect(doc_, nullptr, this, nullptr);
    doc_ = doc;
    steps_.clear();
    floor_ = 0;
    if (doc) connect(doc, &QTextDocument::undoCommandAdded, this, &UndoKinds::stepAdded);
}

int UndoKinds::position() const { return doc_ ? doc_->availableUndoSteps() : 0; }

void UndoKinds::stepAdded() {
    const int pos = position();
    // Steps that ended at or after this one's end were undone and are gone, or
    // belong to a history the document has cleared since.
    while (!steps_.empty() && steps_.back().first >= pos) steps_.pop_back();
    if (floor_ >= pos) floor_ = 0;
    steps_.emplace_back(pos, pending_);
    if (int(steps_.size()) > maxSteps) {
        const auto drop = steps_.size() - std::size_t(maxSteps);
        floor_ = steps_[drop - 1].first;
        steps_.erase(steps_.begin(), steps_.begin() + std::ptrdiff_t(drop));
    }
}

bool UndoKinds::canUndo() const { return doc_ && doc_->isUndoAvailable() && position() > floor_; }

bool UndoKinds::canRedo() const { return doc_ && doc_->isRedoAvailable(); }

UndoKind UndoKinds::undoKind() const {
    if (!canUndo()) return UndoKind::None;
    const int pos = position();
    auto it = std::lower_bound(steps_.begin(), steps_.end(), pos,
                               [](const std::pair<int, UndoKind>& s, int p) { return s.first < p; });
    return it != steps_.end() && it->first == pos ? it->second : UndoKind::None;
}

UndoKind UndoKinds::redoKind() const {
    if (!canRedo()) return UndoKind::None;
    const int pos = position();
    auto it = std::upper_bound(steps_.begin(), steps_.end(), pos,
                               [](int p, const std::pair<int, UndoKind>& s) { return p < s.first; });
    return it != steps_.end() ? it->second : UndoKind::None;
}
