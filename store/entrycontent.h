#pragma once
// Every diary's rich text passes through one codec on its way to and from the
// blob file, so how it is kept at rest is decided in one place.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Where stored content belongs: its daybook (the table's identity) and its
// record (the stable id). Sealed content opens only in the place it was made for.
struct ContentPlace {
    QString daybook;
    qint64 record = 0;
};

class ContentCodec {
public:
    virtual ~ContentCodec() = default;
    // False while the daybook's key is not known: content can then be neither
    // read nor written.
    virtual bool unlocked() const = 0;
    virtual QByteArray seal(const ContentPlace& place, const QByteArray& plain) = 0;
    // Throws EngineError (Damaged) when the stored bytes cannot be opened.
    virtual QByteArray open(const ContentPlace& place, QByteArrayView stored) = 0;
};

// A table before its owner's password was given: every content access fails.
class LockedContent final : public ContentCodec {
public:
    bool unlocked() const override { return false; }
    QByteArray seal(const ContentPlace&, const QByteArray&) override;
    QByteArray open(const ContentPlace&, QByteArrayView) override;
};

// Keeps the content as it is. Only the benchmark uses it, as the yardstick
// that the cost of encryption is measured against.
class PlainContent final : public ContentCodec {
public:
    bool unlocked() const override { return true; }
    QByteArray seal(const ContentPlace&, const QByteArray& plain) override { return plain; }
    QByteArray open(const ContentPlace&, QByteArrayView stored) override { return stored.toByteArray(); }
};
