#pragma once
// Every message box, confirmation and common dialog of the program goes
// through one Prompter, so tests can script the answers.
#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

class QWidget;
class QPrinter;

class Prompter {
public:
    enum class Icon { None, Information, Warning, Error };

    struct FileChoice {
        QString path;
        int filterIndex = 0;  // 0-based index of the filter entry chosen
    };

    virtual ~Prompter() = default;

    // A message box with one OK button; an empty title means the application title.
    virtual void message(QWidget* parent, const QString& text, Icon icon = Icon::None,
                         const QString& title = {}) = 0;
    // A confirmation with OK and Cancel; true when the user chose OK.
    virtual bool confirm(QWidget* parent, const QString& text, const QString& title = {}) = 0;

    virtual std::optional<FileChoice> openFile(QWidget* parent, const QString& caption,
                                               const QString& filter, int filterIndex = 0) = 0;
    virtual std::optional<FileChoice> saveFile(QWidget* parent, const QString& caption,
                                               const QString& filter, int filterIndex = 0) = 0;
    virtual std::optional<QColor> color(QWidget* parent, const QColor& initial) = 0;
    virtual std::optional<QFont> font(QWidget* parent, const QFont& initial) = 0;
    virtual bool print(QWidget* parent, QPrinter* printer) = 0;
    virtual bool printSetup(QWidget* parent, QPrinter* printer) = 0;
    virtual void beep() = 0;

    // The prompter in use: the real dialogs unless a test installed its own.
    static Prompter& instance();
    // Installs p (not owned); nullptr goes back to the real dialogs.
    static void install(Prompter* p);
};

// Converts Qt's dialog filter text from the "Description|*.A;*.B|..." form
// that the program's filters are written in.
QString toQtFilter(const QString& pipeFilter);
