// libFuzzer entry: any bytes through the reader, the document through the writer, and
// the writer's RTF through the reader again. The writer's output must read back sound,
// with the same text, and writing it again must give the same bytes. A low block limit
// lets short inputs reach the cut at the limit, which must read back as it was written.
#include "RichText.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kMaxBlocks = 16;

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

[[noreturn]] void fail(const char* what, const QByteArray& rtf) {
    std::fprintf(stderr, "rtf_fuzzer: %s\n--- written RTF ---\n%.*s\n", what, int(rtf.size()),
                 rtf.constData());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument first;
    richtext::read(input, &first, kMaxBlocks);
    const QByteArray written = richtext::writeRtf(first);

    QTextDocument second;
    const richtext::ReadResult again = richtext::read(written, &second, kMaxBlocks);
    if (!again.ok || !again.wasRtf) fail("written RTF does not read back sound", written);
    if (richtext::plainTextOf(second) != richtext::plainTextOf(first))
        fail("text changed through write and read", written);
    if (richtext::writeRtf(second) != written)
        fail("writing the read-back document gives other bytes", written);
    return 0;
}
