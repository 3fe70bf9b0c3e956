#pragma once
// A table object on a daybook's diary table: a cursor with its own current
// record, reading and writing the fields mydate, mytime, mycfg and myrtf by
// name (without regard to letter case). Several table objects on one table
// share its open files and see each other's posts.
#include "store/tablefile.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

class DiaryTable {
public:
    enum class State { Inactive, Browse, Edit, Insert };

    DiaryTable() = default;
    ~DiaryTable();
    DiaryTable(const DiaryTable&) = delete;
    DiaryTable& operator=(const DiaryTable&) = delete;

    // The folder of the daybook and the table's file name ("U.db").
    void setDatabaseName(const QString& folder) { folder_ = folder; }
    void setTableName(const QString& name) { tableName_ = name; }
    QString databaseName() const { return folder_; }
    QString tableName() const { return tableName_; }

    // Opens the table (record 1 current); throws EngineError.
    void open();
    void close();
    bool active() const { return table_ != nullptr; }
    State state() const { return state_; }

    // 1-based position of the current record in table order; 0 when empty.
    int recNo() const;
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    // True after next() was asked to move past the last record.
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }

    // Moves; a pending insert or edit is posted first when a field was set,
    // and dropped otherwise.
    void first();
    void next();
    void prior();
    void last();
    // Makes record n (1-based) current, clamped to the table.
    void moveToRecNo(int n);

    // Field "mydate" only: the first record (table order) whose date equals
    // value without regard to case becomes current. False: cursor unchanged.
    bool locate(const QString& field, const QString& value);
    // Whether a record with that date exists, without moving the cursor.
    std::optional<QString> lookup(const QString& field, const QString& value, const QString& resultField);

    // Reads a field of the current record (or of the pending insert or edit).
    // Null when the table is empty or the field was never set. myrtf gives a
    // QByteArray, the others a QString.
    QVariant fieldByName(const QString& name);
    QString stringField(const QString& name) { return fieldByName(name).toString(); }
    QByteArray blobField(const QString& name) { return fieldByName(name).toByteArray(); }

    void append();
    void edit();
    void setFieldByName(const QString& name, const QVariant& value);
    // Stores the pending insert or edit; throws EngineError when the disk
    // refuses (the pending values stay, so a later post can succeed).
    void post();
    void cancel();

    // Deletes the current record after beforeDelete agrees; the following
    // record (or the new last) becomes current. False when cancelled.
    bool remove();
    std::function<bool()> beforeDelete;

    // Posts are durable when they return; flush only ends a pending edit.
    void flush();

    // The dates of all records in table order, read from memory (no content).
    QStringList dates() const;
    TableFile* tableFile() const { return table_.get(); }

private:
    void requireActive() const;
    void leaveEditing();
    int currentIndex() const;  // -1 when empty
    void setCurrentIndex(int index);
    enum class Field { Date, Time, Cfg, Rtf };
    static Field fieldOf(const QString& name);

    QString folder_, tableName_;
    std::shared_ptr<TableFile> table_;
    qint64 currentId_ = 0;
    qint64 idBeforeInsert_ = 0;
    State state_ = State::Inactive;
    RecordChanges pending_;
    bool eof_ = false, bof_ = false;
};
