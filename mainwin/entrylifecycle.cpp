#include "mainwin/entrylifecycle.h"

#include "editor/richedit.h"
#include "platform/clock.h"
#include "platform/localeformat.h"
#include "platform/prompter.h"
#include "settings/colourvalue.h"
#include "settings/daybooksettings.h"
#include "store/diarytable.h"

namespace {

const QString kMydate = QStringLiteral("mydate");
const QString kMytime = QStringLiteral("mytime");
const QString kMyrtf = QStringLiteral("myrtf");

RichEdit::Align alignOf(int alg) {
    switch (alg) {
    case 1: return RichEdit::Align::Right;
    case 2: return RichEdit::Align::Center;
    default: return RichEdit::Align::Left;
    }
}

}  // namespace

EntryLifecycle::EntryLifecycle(RichEdit& editor, const DaybookSettings& settings, View& view)
    : editor_(editor), settings_(settings), view_(view) {}

void EntryLifecycle::fillRecordFields() {
    table_->setFieldByName(kMyrtf, editor_.saveRtf());
    table_->setFieldByName(kMydate, currentKey);
    table_->setFieldByName(kMytime, localefmt::longTime(Clock::instance().time()));
}

void EntryLifecycle::markUnreadable(bool unreadable) {
    unreadable_ = unreadable;
    editor_.setReadOnly(unreadable);
}

void EntryLifecycle::write() {
    if (!table_) return;
    if (newEntry) {
        append();
        return;
    }
    if (!table_->active()) table_->open();
    // A diary that could not be read is never written over its record.
    if (unreadable_ || !editor_.modified()) return;
    if (!table_->locate(kMydate, currentKey)) {
        // The shown diary lost its record: keep the text as a new record
        // rather than overwrite another diary.
        newEntry = true;
        append();
        return;
    }
    table_->edit();
    try {
        fillRecordFields();
        table_->post();
    } catch (...) {
        // The record stays as stored; the editor keeps the text for the next try.
        table_->cancel();
        throw;
    }
    view_.setCaretPanel(QString());
}

void EntryLifecycle::append() {
    if (!table_->active()) table_->open();
    table_->last();
    table_->append();
    if (!editor_.modified()) {
        // An untouched new diary leaves no trace.
        table_->cancel();
        return;
    }
    try {
        fillRecordFields();
        table_->post();
    } catch (...) {
        table_->cancel();
        throw;
    }
    newEntry = false;
    view_.collapseTree();
}

bool EntryLifecycle::loadCurrentRecord() {
    try {
        const QByteArray rtf = table_->blobField(kMyrtf);
        markUnreadable(false);
        editor_.loadRtf(rtf);
        return true;
    } catch (const EngineError&) {
        // The old diary must not stay on screen as if it were this one.
        editor_.clear();
        markUnreadable(true);
        return false;
    }
}

bool EntryLifecycle::showtext() {
    if (!table_->active()) table_->open();
    view_.setCaretPanel(QStringLiteral("Loading..."));
    const bool ok = loadCurrentRecord();
    newEntry = false;
    editor_.setModified(false);
    view_.setCaretPanel(QString());
    view_.setDeleteEnabled(true);
    return ok;
}

void EntryLifecycle::addchange(const QString& key) {
    write();
    if (table_->locate(kMydate, key)) {
        currentKey = table_->stringField(kMydate);
        newEntry = false;
        if (loadCurrentRecord()) {
            view_.fontBoxesFromCaret();
        } else {
            Prompter::instance().message(nullptr, key + QStringLiteral(" Loading Wrong!"));
        }
        view_.setDeleteEnabled(true);
    } else {
        prepareNew(key);
        view_.refreshStatusLine();
        view_.fontBoxesFromDefault();
    }
    view_.focusEditor();
    editor_.setModified(false);
}

void EntryLifecycle::move(Move m) {
    if (!table_) return;
    if (!table_->active()) table_->open();
    write();
    switch (m) {
    case Move::First: table_->first(); break;
    case Move::Prior: table_->prior(); break;
    case Move::Next: table_->next(); break;
    case Move::Last: table_->last(); break;
    }
    currentKey = table_->stringField(kMydate);
    showtext();
    view_.fontBoxesFromCaret();
    view_.refreshStatusLine();
}

void EntryLifecycle::addTemplate() {
    const QDateTime now = Clock::instance().now();
    if (settings_.General.insdate) editor_.addLine(localefmt::shortDate(now.date()));
    if (settings_.General.instime) editor_.addLine(localefmt::longTime(now.time()));
    if (!settings_.General.memotext.isEmpty()) editor_.addLine(settings_.General.memotext);
}

void EntryLifecycle::prepareNew(const QString& key) {
    markUnreadable(false);
    editor_.clear();
    addTemplate();
    newEntry = true;
    currentKey = key;
    const auto& e = settings_.Editor;
    editor_.setDefaultFont(e.Fonn, e.fsize, colourvalue::toColor(e.fcolor));
    editor_.setParaRightIndent(e.indenr);
    editor_.setParaLeftIndent(e.indenl);
    editor_.setParaFirstIndent(e.indenf);
    editor_.setParaAlignment(alignOf(e.alg));
    view_.setDeleteEnabled(false);
    editor_.setModified(false);
}

void EntryLifecycle::saveCommand() {
    write();
    editor_.setModified(false);
}

bool EntryLifecycle::beforeDelete() {
    if (table_->recNo() == 1) {
        Prompter::instance().message(nullptr, QStringLiteral("It's your first diary you can't delete it"));
        return false;
    }
    if (!Prompter::instance().confirm(nullptr, QStringLiteral("Delete ") + currentKey + QStringLiteral(" Are you sure?")))
        return false;
    if (treeDeleteRequested_) view_.removeSelectedDayNode();
    return true;
}

void EntryLifecycle::deleteCurrent(bool onBehalfOfTree) {
    if (!table_ || newEntry) return;
    if (!table_->active()) table_->open();
    // The shown diary is the table's current record.
    table_->locate(kMydate, currentKey);
    treeDeleteRequested_ = onBehalfOfTree;
    bool deleted = false;
    try {
        deleted = table_->remove();
    } catch (...) {
        treeDeleteRequested_ = false;
        throw;
    }
    treeDeleteRequested_ = false;
    if (!deleted) return;
    currentKey = table_->stringField(kMydate);
    newEntry = false;
    loadCurrentRecord();
    view_.fontBoxesFromCaret();
    view_.refreshStatusLine();
    editor_.setModified(false);
    view_.setDeleteEnabled(true);
    table_->flush();
}
