#include "tests/support/scriptedprompter.h"

void ScriptedPrompter::record(Prompt p) {
    prompts.append(p);
    if (onPrompt) onPrompt(prompts.back());
}

QStringList ScriptedPrompter::texts() const {
    QStringList out;
    for (const auto& p : prompts) out << p.text;
    return out;
}

QStringList ScriptedPrompter::messages() const {
    QStringList out;
    for (const auto& p : prompts)
        if (p.kind == Prompt::Message || p.kind == Prompt::Confirm) out << p.text;
    return out;
}

int ScriptedPrompter::count(Prompt::Kind k) const {
    int n = 0;
    for (const auto& p : prompts) n += p.kind == k;
    return n;
}

template <typename T>
static T takeOr(QList<T>& list, T fallback) {
    return list.isEmpty() ? fallback : list.takeFirst();
}

void ScriptedPrompter::message(QWidget*, const QString& text, Icon icon, const QString& title) {
    record({Prompt::Message, text, title, icon});
}

bool ScriptedPrompter::confirm(QWidget*, const QString& text, const QString& title) {
    record({Prompt::Confirm, text, title, Icon::None});
    return takeOr(confirmAnswers, false);
}

std::optional<Prompter::FileChoice> ScriptedPrompter::openFile(QWidget*, const QString& caption,
                                                               const QString&, int) {
    record({Prompt::OpenFile, caption, {}, Icon::None});
    return takeOr(fileAnswers, std::optional<FileChoice>{});
}

std::optional<Prompter::FileChoice> ScriptedPrompter::saveFile(QWidget*, const QString& caption,
                                                               const QString&, int) {
    record({Prompt::SaveFile, caption, {}, Icon::None});
    return takeOr(fileAnswers, std::optional<FileChoice>{});
}

std::optional<QColor> ScriptedPrompter::color(QWidget*, const QColor&) {
    record({Prompt::Color, {}, {}, Icon::None});
    return takeOr(colorAnswers, std::optional<QColor>{});
}

std::optional<QFont> ScriptedPrompter::font(QWidget*, const QFont&) {
    record({Prompt::Font, {}, {}, Icon::None});
    return takeOr(fontAnswers, std::optional<QFont>{});
}

bool ScriptedPrompter::print(QWidget*, QPrinter*) {
    record({Prompt::Print, {}, {}, Icon::None});
    return takeOr(printAnswers, false);
}

bool ScriptedPrompter::printSetup(QWidget*, QPrinter*) {
    record({Prompt::PrintSetup, {}, {}, Icon::None});
    return takeOr(printAnswers, false);
}

void ScriptedPrompter::beep() { record({Prompt::Beep, {}, {}, Icon::None}); }
