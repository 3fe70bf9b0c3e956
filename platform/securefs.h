#pragma once
// File operations for daybook files: private to their owner, and durable
// (on disk before the call returns).
#include <QString>

namespace securefs {
// Creates one folder readable by its owner only. False when it cannot.
bool makePrivateDir(const QString& path);
// Restricts an existing file to its owner.
void makePrivate(const QString& path);
// Copies from over to (overwriting), owner-only, flushed to disk; the copy goes
// to a temporary name first so a failed copy leaves the old file intact.
bool copyFile(const QString& from, const QString& to, QString* error = nullptr);
// Flushes a folder's entries (a new or renamed file) to disk.
void syncDir(const QString& dir);
}  // namespace securefs
