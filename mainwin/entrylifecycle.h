#pragma once
// The diary shown in the editor: which one it is, and loading, preparing,
// saving and deleting it. The main window's handlers delegate here.
#include <QString>

class DiaryTable;
class RichEdit;
struct DaybookSettings;

class EntryLifecycle {
public:
    // What the window shows of the shown diary's state.
    class View {
    public:
        virtual ~View() = default;
        virtual void setDeleteEnabled(bool enabled) = 0;
        virtual void setCaretPanel(const QString& text) = 0;  // status bar panel 0
        virtual void collapseTree() = 0;
        virtual void fontBoxesFromCaret() = 0;
        virtual void fontBoxesFromDefault() = 0;
        virtual void refreshStatusLine() = 0;
        virtual void focusEditor() = 0;
        // The tree's day node whose deletion was asked for goes with the record.
        virtual void removeSelectedDayNode() = 0;
    };

    EntryLifecycle(RichEdit& editor, const DaybookSettings& settings, View& view);

    void attach(DiaryTable* table) { table_ = table; }
    DiaryTable* table() const { return table_; }

    // The date key of the shown diary and whether it has no record yet.
    QString currentKey;
    bool newEntry = false;

    // Stores the shown diary when the editor was modified: a new one is
    // appended, a stored one edited in place.
    void write();
    void append();
    // Loads the current record of the table into the editor; false when it
    // cannot be read (the editor is then emptied and locked, see below).
    bool showtext();
    // First, Previous, Next, Last in table order: saves the shown diary, moves
    // the cursor (staying put at either end) and shows the record reached.
    enum class Move { First, Prior, Next, Last };
    void move(Move m);
    // Saves, then shows the diary of key, or prepares a new one for it.
    void addchange(const QString& key);
    // Empties the editor for a new diary of key, with the template and the
    // editor defaults.
    void prepareNew(const QString& key);
    // The new-diary template lines (date, time, memo text as the settings ask).
    void addTemplate();
    // Loads the current record's content; false when it cannot be read.
    bool loadCurrentRecord();
    // File > "Save": the save routine, then the editor counts as unmodified.
    void saveCommand();
    // File > "Delete current diary". onBehalfOfTree: the tree's delete asked
    // for it, so a confirmed deletion removes the tree's day node too.
    void deleteCurrent(bool onBehalfOfTree = false);
    // The gate that runs before any record of the table is deleted.
    bool beforeDelete();

    // True while the shown diary could not be read: the editor holds nothing
    // of it, so nothing is saved over the stored record.
    bool unreadable() const { return unreadable_; }

private:
    void fillRecordFields();
    void markUnreadable(bool unreadable);

    RichEdit& editor_;
    const DaybookSettings& settings_;
    View& view_;
    DiaryTable* table_ = nullptr;
    bool treeDeleteRequested_ = false;
    bool unreadable_ = false;
};
