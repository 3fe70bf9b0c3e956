#pragma once
// What each undo step of a document was (typing, delete, cut...), kept beside the
// document's own undo stack and aligned with it by the stack position each step
// ends at, so that undo and redo from any path (keys, menus, code) keep the two in
// step. The position counts the document's undo commands, several to a step.
#include <QObject>
#include <QPointer>
#include <utility>
#include <vector>

class QTextDocument;

enum class UndoKind { None = 0, Typing = 1, Delete = 2, DragDrop = 3, Cut = 4, Paste = 5 };

class UndoKinds : public QObject {
public:
    static constexpr int maxSteps = 100;

    explicit UndoKinds(QObject* parent = nullptr) : QObject(parent) {}
    // Follows a new document; its history starts empty.
    void attach(QTextDocument* doc);
    // The kind that the next step added to the document gets (None when nothing is pending).
    void setPending(UndoKind kind) { pending_ = kind; }
    UndoKind pending() const { return pending_; }

    bool canUndo() const;
    bool canRedo() const;
    UndoKind undoKind() const;
    UndoKind redoKind() const;

private:
    void stepAdded();
    int position() const;

    QPointer<QTextDocument> doc_;
    // (stack position after the step, its kind), oldest first
    std::vector<std::pair<int, UndoKind>> steps_;
    int floor_ = 0;  // positions at or below this are beyond the undo limit
    UndoKind pending_ = UndoKind::None;
};

// Sets the kind for the steps added while it lives, then clears it.
class PendingUndoKind {
public:
    PendingUndoKind(UndoKinds& kinds, UndoKind kind) : kinds_(kinds), had_(kinds.pending()) {
        if (had_ == UndoKind::None) kinds_.setPending(kind);
    }
    ~PendingUndoKind() { kinds_.setPending(had_); }
    PendingUndoKind(const PendingUndoKind&) = delete;
    PendingUndoKind& operator=(const PendingUndoKind&) = delete;

private:
    UndoKinds& kinds_;
    UndoKind had_;
};
