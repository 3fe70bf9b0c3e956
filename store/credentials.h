#pragma once
// The owner record of a daybook: the user name, "?", and a salted password
// hash (never the password itself).
#include <QString>

namespace credentials {
// The config text for a new daybook or a new password.
QString makeConfig(const QString& user, const QString& password);
// True when config holds exactly this user name (letter case significant)
// and password. An empty config never matches.
bool checkConfig(const QString& config, const QString& user, const QString& password);
}  // namespace credentials
