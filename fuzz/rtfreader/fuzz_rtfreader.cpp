// Feeds arbitrary bytes to the RTF reader, then writes what it built and reads
// that again: neither may crash, hang, or fail on its own output.
#include "rtf/rtf.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_rtfreader";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Inputs that are not RTF are refused before any parsing; most of the
    // search is inside RTF, so the header is given.
    QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!input.startsWith("{\\rtf")) input.prepend("{\\rtf1 ");
    QTextDocument doc;
    rtf::ReadReport report;
    if (!rtf::read(input, doc, nullptr, &report)) std::abort();
    const QByteArray written = rtf::write(doc);
    QTextDocument again;
    rtf::ReadReport second;
    if (!rtf::read(written, again, nullptr, &second)) std::abort();
    // what the writer makes is well formed
    if (second.truncated || second.unbalanced) std::abort();
    return 0;
}
