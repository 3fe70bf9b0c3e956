#include "platform/prompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace {

QString titleOr(const QString& title) {
    return title.isEmpty() ? QApplication::applicationName() : title;
}

class QtPrompter final : public Prompter {
public:
    void message(QWidget* parent, const QString& text, Icon icon, const QString& title) override {
        QMessageBox box(parent);
        box.setWindowTitle(titleOr(title));
        box.setText(text);
        box.setAccessibleName(titleOr(title));
        box.setAccessibleDescription(text);
        switch (icon) {
        case Icon::None: break;
        case Icon::Information: box.setIcon(QMessageBox::Information); break;
        case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
        case Icon::Error: box.setIcon(QMessageBox::Critical); break;
        }
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
    }

    bool confirm(QWidget* parent, const QString& text, const QString& title) override {
        QMessageBox box(parent);
        box.setWindowTitle(titleOr(title));
        box.setText(text);
        box.setAccessibleName(titleOr(title));
        box.setAccessibleDescription(text);
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        return box.exec() == QMessageBox::Ok;
    }

    std::optional<FileChoice> openFile(QWidget* parent, const QString& caption,
                                       const QString& filter, int filterIndex) override {
        return runFileDialog(parent, caption, filter, filterIndex, QFileDialog::AcceptOpen);
    }

    std::optional<FileChoice> saveFile(QWidget* parent, const QString& caption,
                                       const QString& filter, int filterIndex) override {
        return runFileDialog(parent, caption, filter, filterIndex, QFileDialog::AcceptSave);
    }

    std::optional<QColor> color(QWidget* parent, const QColor& initial) override {
        const QColor c = QColorDialog::getColor(initial, parent);
        if (!c.isValid()) return std::nullopt;
        return c;
    }

    std::optional<QFont> font(QWidget* parent, const QFont& initial) override {
        bool ok = false;
        const QFont f = QFontDialog::getFont(&ok, initial, parent);
        if (!ok) return std::nullopt;
        return f;
    }

    bool print(QWidget* parent, QPrinter* printer) override {
        QPrintDialog dlg(printer, parent);
        return dlg.exec() == QDialog::Accepted;
    }

    bool printSetup(QWidget* parent, QPrinter* printer) override {
        QPageSetupDialog dlg(printer, parent);
        return dlg.exec() == QDialog::Accepted;
    }

    void beep() override { QApplication::beep(); }

private:
    static std::optional<FileChoice> runFileDialog(QWidget* parent, const QString& caption,
                                                   const QString& filter, int filterIndex,
                                                   QFileDialog::AcceptMode mode) {
        QFileDialog dlg(parent, caption);
        dlg.setAcceptMode(mode);
        dlg.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                        : QFileDialog::AnyFile);
        // Overwriting without a question is what the export asks for.
        dlg.setOption(QFileDialog::DontConfirmOverwrite, mode == QFileDialog::AcceptSave);
        const QStringList filters = toQtFilter(filter).split(QStringLiteral(";;"));
        dlg.setNameFilters(filters);
        if (filterIndex >= 0 && filterIndex < filters.size()) dlg.selectNameFilter(filters[filterIndex]);
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
        return FileChoice{dlg.selectedFiles().first(),
                          int(filters.indexOf(dlg.selectedNameFilter()))};
    }
};

QtPrompter& realPrompter() {
    static QtPrompter p;
    return p;
}

Prompter* installed = nullptr;

}  // namespace

Prompter& Prompter::instance() { return installed ? *installed : realPrompter(); }

void Prompter::install(Prompter* p) { installed = p; }

QString toQtFilter(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString desc = parts[i];
        // Qt reads the patterns from the last parentheses of the entry.
        out << desc + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    if (out.isEmpty()) out << pipeFilter;
    return out.join(QStringLiteral(";;"));
}
