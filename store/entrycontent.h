#pragma once
// Every diary's rich text passes through one codec on its way to and from the
// blob file, so how it is kept at rest is decided in one place.
#include <QByteArray>

class ContentCodec {
public:
    virtual ~ContentCodec() = default;
    // recordId: the record's stable id, so stored content belongs to one record.
    virtual QByteArray seal(qint64 recordId, const QByteArray& plain) = 0;
    // Throws EngineError (Damaged) when the stored bytes cannot be opened.
    virtual QByteArray open(qint64 recordId, const QByteArray& stored) = 0;
};

// Keeps the content as it is.
class PlainContent final : public ContentCodec {
public:
    QByteArray seal(qint64, const QByteArray& plain) override { return plain; }
    QByteArray open(qint64, const QByteArray& stored) override { return stored; }
};
