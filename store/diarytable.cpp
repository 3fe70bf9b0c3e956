#include "store/diarytable.h"

#include "store/dbsession.h"

DiaryTable::~DiaryTable() = default;

DiaryTable::Field DiaryTable::fieldOf(const QString& name) {
    const QString n = name.toLower();
    if (n == QLatin1String("mydate")) return Field::Date;
    if (n == QLatin1String("mytime")) return Field::Time;
    if (n == QLatin1String("mycfg")) return Field::Cfg;
    if (n == QLatin1String("myrtf")) return Field::Rtf;
    throw EngineError(EngineError::Kind::Usage, QStringLiteral("Field '%1' not found.").arg(name));
}

void DiaryTable::requireActive() const {
    if (!table_) throw EngineError(EngineError::Kind::Usage, QStringLiteral("Cannot perform this operation on a closed dataset."));
}

void DiaryTable::open() {
    if (table_) return;
    table_ = DbSession::instance().acquire(folder_, tableName_);
    state_ = State::Browse;
    pending_ = {};
    setCurrentIndex(0);
}

void DiaryTable::close() {
    table_.reset();
    state_ = State::Inactive;
    pending_ = {};
    currentId_ = 0;
}

int DiaryTable::currentIndex() const {
    const int n = table_->count();
    if (n == 0) return -1;
    const int i = table_->lowerBound(currentId_);
    return i < n ? i : n - 1;
}

void DiaryTable::setCurrentIndex(int index) {
    eof_ = bof_ = false;
    const int n = table_->count();
    currentId_ = n == 0 ? 0 : table_->idAt(qBound(0, index, n - 1));
}

int DiaryTable::recNo() const {
    requireActive();
    if (state_ == State::Insert) return table_->count() + 1;
    return currentIndex() + 1;
}

int DiaryTable::recordCount() const {
    requireActive();
    return table_->count();
}

void DiaryTable::leaveEditing() {
    if (state_ == State::Edit || state_ == State::Insert) {
        if (pending_.any()) post();
        else cancel();
    }
}

void DiaryTable::first() {
    requireActive();
    leaveEditing();
    setCurrentIndex(0);
    bof_ = true;
}

void DiaryTable::last() {
    requireActive();
    leaveEditing();
    setCurrentIndex(table_->count() - 1);
    eof_ = true;
}

void DiaryTable::next() {
    requireActive();
    leaveEditing();
    const int i = currentIndex();
    if (i < 0 || i + 1 >= table_->count()) {
        eof_ = true;
        return;
    }
    setCurrentIndex(i + 1);
}

void DiaryTable::prior() {
    requireActive();
    leaveEditing();
    const int i = currentIndex();
    if (i <= 0) {
        bof_ = true;
        return;
    }
    setCurrentIndex(i - 1);
}

void DiaryTable::moveToRecNo(int n) {
    requireActive();
    leaveEditing();
    setCurrentIndex(n - 1);
}

bool DiaryTable::locate(const QString& field, const QString& value) {
    requireActive();
    if (fieldOf(field) != Field::Date)
        throw EngineError(EngineError::Kind::Usage, QStringLiteral("Locate works on the field mydate only."));
    leaveEditing();
    const int i = table_->findDate(value);
    if (i < 0) return false;
    setCurrentIndex(i);
    return true;
}

std::optional<QString> DiaryTable::lookup(const QString& field, const QString& value,
                                          const QString& resultField) {
    requireActive();
    if (fieldOf(field) != Field::Date || fieldOf(resultField) != Field::Date)
        throw EngineError(EngineError::Kind::Usage, QStringLiteral("Lookup works on the field mydate only."));
    const int i = table_->findDate(value);
    if (i < 0) return std::nullopt;
    return table_->dateAt(i);
}

QVariant DiaryTable::fieldByName(const QString& name) {
    requireActive();
    const Field f = fieldOf(name);
    // A pending value wins; a pending insert has nothing else.
    switch (f) {
    case Field::Date: if (pending_.mydate) return *pending_.mydate; break;
    case Field::Time: if (pending_.mytime) return *pending_.mytime; break;
    case Field::Cfg: if (pending_.mycfg) return *pending_.mycfg; break;
    case Field::Rtf: if (pending_.myrtf) return *pending_.myrtf; break;
    }
    if (state_ == State::Insert) return QVariant();
    const int i = currentIndex();
    if (i < 0) return QVariant();
    const qint64 id = table_->idAt(i);
    switch (f) {
    case Field::Date: return table_->dateAt(i);
    case Field::Rtf: return table_->readContent(id);
    case Field::Time:
    case Field::Cfg: {
        const auto t = table_->readTexts(id);
        if (f == Field::Time) return t.mytimeNull ? QVariant() : QVariant(t.mytime);
        return t.mycfgNull ? QVariant() : QVariant(t.mycfg);
    }
    }
    return QVariant();
}

void DiaryTable::append() {
    requireActive();
    leaveEditing();
    idBeforeInsert_ = currentId_;
    pending_ = {};
    state_ = State::Insert;
}

void DiaryTable::edit() {
    requireActive();
    if (state_ == State::Edit) return;
    leaveEditing();
    if (table_->count() == 0) {
        append();
        return;
    }
    currentId_ = table_->idAt(currentIndex());
    pending_ = {};
    state_ = State::Edit;
}

void DiaryTable::setFieldByName(const QString& name, const QVariant& value) {
    requireActive();
    if (state_ != State::Edit && state_ != State::Insert)
        throw EngineError(EngineError::Kind::Usage, QStringLiteral("Dataset not in edit or insert mode."));
    switch (fieldOf(name)) {
    case Field::Date: pending_.mydate = value.toString(); break;
    case Field::Time: pending_.mytime = value.toString(); break;
    case Field::Cfg: pending_.mycfg = value.toString(); break;
    case Field::Rtf: pending_.myrtf = value.toByteArray(); break;
    }
}

void DiaryTable::post() {
    requireActive();
    if (state_ == State::Insert) {
        // Throws before anything changes here when the disk refuses.
        currentId_ = table_->insert(pending_);
    } else if (state_ == State::Edit) {
        if (pending_.any()) table_->update(currentId_, pending_);
    } else {
        return;
    }
    pending_ = {};
    state_ = State::Browse;
    eof_ = bof_ = false;
}

void DiaryTable::cancel() {
    if (state_ == State::Insert) currentId_ = idBeforeInsert_;
    if (state_ == State::Insert || state_ == State::Edit) state_ = State::Browse;
    pending_ = {};
}

bool DiaryTable::remove() {
    requireActive();
    if (state_ == State::Insert) {
        cancel();
        return true;
    }
    cancel();
    const int i = currentIndex();
    if (i < 0) throw EngineError(EngineError::Kind::Usage, QStringLiteral("Cannot perform this operation on an empty dataset."));
    if (beforeDelete && !beforeDelete()) return false;
    // The hook may have moved nothing, but be sure to delete the record it saw.
    const qint64 id = table_->idAt(i);
    table_->remove(id);
    setCurrentIndex(qMin(i, table_->count() - 1));
    return true;
}

void DiaryTable::flush() {
    requireActive();
    leaveEditing();
}

QStringList DiaryTable::dates() const {
    requireActive();
    QStringList out;
    out.reserve(table_->count());
    for (int i = 0; i < table_->count(); ++i) out << table_->dateAt(i);
    return out;
}
