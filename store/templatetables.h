#pragma once
// Makes the empty template tables that every new daybook is copied from.
#include <QString>

// Writes an empty diary table at dbPath and its blob file at mbPath, behind
// the table password. Throws EngineError when the files cannot be written.
void createTemplateTables(const QString& dbPath, const QString& mbPath, const QString& tablePassword);
