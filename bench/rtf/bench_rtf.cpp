// The RTF codec on generated documents: read and write of a text-heavy file of
// about 10 MB and of one holding 20 pictures of about 300 KB, in MB/s; the editor
// loading the 10 MB entry; and LibreOffice reading the same text, measured as a
// per-MB slope over two sizes so that its start-up cancels. Each figure stands
// beside its goal.
//
//   bench_rtf [folder]     (default: a new folder under the current one)
#include "editor/richedit.h"
#include "rtf/rtf.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr double MB = 1024.0 * 1024.0;

double medianSeconds(int runs, const std::function<void()>& work) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        t.push_back(double(timer.nsecsElapsed()) / 1e9);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

void line(const char* what, double value, const char* unit, const char* goal) {
    std::printf("  %-52s %9.2f %-5s goal %s\n", what, value, unit, goal);
}

// Diary text as word processors write it: paragraphs of words with bold, italic
// and coloured runs, accented letters as \'hh and other scripts as \uN. Of
// every `period` words about three change the format and one ends the
// paragraph: 23 is heavily formatted text, 230 plain prose.
QByteArray textRtf(qsizetype bytes, quint32 period = 23) {
    static const char* words[] = {"today", "we", "walked", "along", "the", "river", "and", "talked", "about",
                                  "summer", "plans", "rain", "garden", "letter", "mother", "coffee", "train",
                                  "caf\\'e9", "na\\'efve", "\\u1087?\\u1088?\\u1080?", "\\u26085?\\u26412?"};
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\froman\\fcharset0 "
                     "Times New Roman;}}{\\colortbl ;\\red192\\green0\\blue0;\\red0\\green96\\blue0;}\n"
                     "\\viewkind4\\uc1\\pard\\f0\\fs22 ";
    out.reserve(bytes + 1024);
    quint32 x = 12345;
    while (out.size() < bytes) {
        x = x * 1664525u + 1013904223u;
        const quint32 r = x >> 8;
        switch (r % period) {
        case 0: out += "{\\b "; out += words[r % 17]; out += "} "; break;
        case 1: out += "{\\i\\cf1 "; out += words[(r >> 5) % 21]; out += "} "; break;
        case 2: out += "\\f1 "; out += words[(r >> 7) % 21]; out += "\\f0  "; break;
        case 3: out += "\\par\n"; break;
        default: out += words[(r >> 3) % 21]; out += ' '; break;
        }
    }
    return out + "\\par\n}\n";
}

// Noise compresses badly, so a PNG of about 300 KB needs few pixels.
QByteArray picture(int seed) {
    QImage image(400, 270, QImage::Format_RGB32);
    quint32 x = quint32(seed) * 2654435761u + 7;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int i = 0; i < image.width(); ++i) {
            x = x * 1664525u + 1013904223u;
            row[i] = x | 0xFF000000u;
        }
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QByteArray picturesRtf(int count, qsizetype* pictureBytes) {
    QByteArray out = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard ";
    *pictureBytes = 0;
    for (int i = 0; i < count; ++i) {
        const QByteArray png = picture(i);
        *pictureBytes += png.size();
        out += "Picture " + QByteArray::number(i + 1) + ": {\\pict\\pngblip\\picw400\\pich270\\picwgoal6000\\pichgoal4050\n";
        const QByteArray hex = png.toHex();
        for (qsizetype at = 0; at < hex.size(); at += 128) out += hex.mid(at, 128) + '\n';
        out += "}\\par\n";
    }
    return out + "}\n";
}

// A document's paragraphs and runs, taken out so that they can be put into a
// new document again.
struct Paragraph {
    QTextBlockFormat format;
    QTextCharFormat mark;
    std::vector<std::pair<QString, QTextCharFormat>> runs;
};

std::vector<Paragraph> paragraphsOf(const QTextDocument& source) {
    std::vector<Paragraph> paragraphs;
    for (QTextBlock b = source.begin(); b.isValid(); b = b.next()) {
        Paragraph p{b.blockFormat(), b.charFormat(), {}};
        for (auto it = b.begin(); !it.atEnd(); ++it) p.runs.emplace_back(it.fragment().text(), it.fragment().charFormat());
        paragraphs.push_back(std::move(p));
    }
    return paragraphs;
}

void replay(const std::vector<Paragraph>& paragraphs) {
    QTextDocument doc;
    doc.setUndoRedoEnabled(false);
    QTextCursor c(&doc);
    c.beginEditBlock();
    bool first = true;
    for (const Paragraph& p : paragraphs) {
        if (first) c.setBlockFormat(p.format);
        else c.insertBlock(p.format, p.mark);
        first = false;
        for (const auto& [text, format] : p.runs) c.insertText(text, format);
    }
    c.endEditBlock();
}

void codec(const char* name, const QByteArray& rtf, bool showQtShare) {
    std::printf("%s: %.1f MB\n", name, rtf.size() / MB);
    QTextDocument doc;
    const double read = medianSeconds(3, [&] { rtf::read(rtf, doc); });
    QByteArray written;
    const double write = medianSeconds(3, [&] { written = rtf::write(doc); });
    line("read", rtf.size() / MB / read, "MB/s", ">= 40 MB/s");
    if (showQtShare) {
        // The part of the read that is Qt's own: the same paragraphs and runs put
        // into a new document through the text cursor, with no RTF in between.
        // (Not for pictures: a new document lacks their resources.)
        const std::vector<Paragraph> paragraphs = paragraphsOf(doc);
        const double qt = medianSeconds(3, [&] { replay(paragraphs); });
        line("  of which Qt's document building (same runs)", qt / read * 100, "%", "");
    }
    line("write (MB of RTF written)", written.size() / MB / write, "MB/s", ">= 80 MB/s");
}

// LibreOffice converting the file to text, in seconds.
double libreOfficeSeconds(const QString& soffice, const QString& file, const QString& outDir) {
    return medianSeconds(3, [&] {
        QProcess p;
        p.start(soffice, {"--headless", "--norestore", "--convert-to", "txt:Text", "--outdir", outDir, file});
        p.waitForFinished(600000);
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir tmp(QDir::current().filePath(QStringLiteral("bench-rtf-XXXXXX")));
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : tmp.path();
    QDir().mkpath(base);

    const QByteArray text = textRtf(10 * 1024 * 1024);
    codec("text-heavy RTF, a format change every few words", text, true);
    const QByteArray prose = textRtf(10 * 1024 * 1024, 230);
    codec("text-heavy RTF, prose (a format change every 70 words)", prose, true);
    qsizetype pictureBytes = 0;
    const QByteArray pictures = picturesRtf(20, &pictureBytes);
    std::printf("  (20 pictures of %.0f KB each)\n", pictureBytes / 20.0 / 1024);
    codec("RTF with 20 pictures", pictures, false);

    std::printf("editor:\n");
    {
        RichEdit editor;
        editor.resize(800, 600);
        editor.show();
        for (const auto& [what, rtf] : {std::pair{"10 MB entry loads into the editor", &text},
                                        std::pair{"10 MB entry of prose loads into the editor", &prose}}) {
            const double load = medianSeconds(3, [&] {
                editor.loadRtf(*rtf);
                QCoreApplication::processEvents();
            });
            line(what, load, "s", "< 0.3 s");
        }
    }

    std::printf("LibreOffice:\n");
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        std::printf("  soffice not found: install libreoffice-writer-nogui (scripts/deps.sh bench)\n");
        return 0;
    }
    const QByteArray small = textRtf(1 * 1024 * 1024);
    const QString smallPath = base + "/small.rtf", largePath = base + "/large.rtf";
    for (const auto& [path, bytes] : {std::pair{smallPath, small}, std::pair{largePath, text}}) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    // a first run warms its caches and user profile
    libreOfficeSeconds(soffice, smallPath, base);
    const double tSmall = libreOfficeSeconds(soffice, smallPath, base);
    const double tLarge = libreOfficeSeconds(soffice, largePath, base);
    const double loSecondsPerMB = (tLarge - tSmall) / ((text.size() - small.size()) / MB);
    QTextDocument doc;
    const double ours = medianSeconds(3, [&] { rtf::read(text, doc); }) / (text.size() / MB);
    std::printf("  LibreOffice: %.2f s for %.1f MB, %.2f s for %.1f MB\n", tSmall, small.size() / MB, tLarge,
                text.size() / MB);
    line("LibreOffice read (per-MB slope)", 1.0 / loSecondsPerMB, "MB/s", "");
    line("our read speed / LibreOffice's", loSecondsPerMB / ours, "x", ">= 20 x");
    return 0;
}
