#pragma once
// A Prompter for tests: records every prompt and answers from a script.
#include "platform/prompter.h"

#include <QList>
#include <QStringList>
#include <functional>

class ScriptedPrompter : public Prompter {
public:
    struct Prompt {
        enum Kind { Message, Confirm, OpenFile, SaveFile, Color, Font, Print, PrintSetup, Beep } kind;
        QString text;   // message text, or the dialog's caption
        QString title;
        Icon icon = Icon::None;
    };

    ScriptedPrompter() { Prompter::install(this); }
    ~ScriptedPrompter() override { Prompter::install(nullptr); }

    // Answers for confirmations, in order; an unscripted confirmation answers Cancel.
    QList<bool> confirmAnswers;
    QList<std::optional<FileChoice>> fileAnswers;
    QList<std::optional<QColor>> colorAnswers;
    QList<std::optional<QFont>> fontAnswers;
    QList<bool> printAnswers;
    // Runs on every prompt after it is recorded (e.g. to act while a box is "open").
    std::function<void(const Prompt&)> onPrompt;

    QList<Prompt> prompts;

    QStringList texts() const;
    QStringList messages() const;  // texts of Message and Confirm prompts, in order
    QString lastText() const { return prompts.isEmpty() ? QString() : prompts.back().text; }
    int count(Prompt::Kind k) const;
    void clear() { prompts.clear(); }

    void message(QWidget*, const QString& text, Icon icon, const QString& title) override;
    bool confirm(QWidget*, const QString& text, const QString& title) override;
    std::optional<FileChoice> openFile(QWidget*, const QString& caption, const QString&, int) override;
    std::optional<FileChoice> saveFile(QWidget*, const QString& caption, const QString&, int) override;
    std::optional<QColor> color(QWidget*, const QColor&) override;
    std::optional<QFont> font(QWidget*, const QFont&) override;
    bool print(QWidget*, QPrinter*) override;
    bool printSetup(QWidget*, QPrinter*) override;
    void beep() override;

private:
    void record(Prompt p);
};
