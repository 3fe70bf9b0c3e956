#pragma once
// The table engine's error. Opening a damaged daybook raises it, and the login
// answers it with the offer to restore from the backups; a failed write raises
// it too, with a message that tells the user what went wrong.
#include <QString>
#include <stdexcept>

class EngineError : public std::runtime_error {
public:
    enum class Kind {
        Damaged,      // the files cannot be read as a daybook
        NoPassword,   // the session was not given the table password
        WriteFailed,  // the disk refused a write; nothing stored before is lost
        Usage,        // the program asked for something the table cannot do
    };
    EngineError(Kind kind, const QString& message)
        : std::runtime_error(message.toStdString()), kind_(kind), message_(message) {}
    Kind kind() const { return kind_; }
    QString message() const { return message_; }

private:
    Kind kind_;
    QString message_;
};
