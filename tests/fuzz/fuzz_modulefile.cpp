// Module files come from anywhere (mail, USB sticks, older versions of the program): whatever
// the bytes, the reader must either refuse them with a located reason or hand back a complete
// image that the writer puts back into the same values. What follows the last slot of an
// accepted file plays no part: the same file cut after its slots, or with blank lines added,
// reads as the same module.
#include "FuzzCheck.h"
#include "files/ModuleFile.h"

#include <cstddef>
#include <cstdint>

namespace {
// The first `lines` lines of the content with their line ends (CR LF, LF or a lone CR).
QByteArray firstLines(const QByteArray &content, int lines)
{
    qsizetype i = 0;
    for (int seen = 0; i < content.size() && seen < lines; ++i) {
        if (content[i] == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
        if (content[i] == '\r' || content[i] == '\n') ++seen;
    }
    return content.left(i);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    const Checked<ModuleFileData> parsed = parseModuleFile(content);
    const Failure &error = parsed.failure();
    if (!parsed) {
        FUZZ_CHECK(error.kind != Failure::Kind::None);
        FUZZ_CHECK(!error.detail.isEmpty());
        FUZZ_CHECK(error.line >= 0);
        FUZZ_CHECK(error.text.size() <= 43); // shortened: 40 characters and "..."
        return 0;
    }
    FUZZ_CHECK(error.kind == Failure::Kind::None);
    FUZZ_CHECK(parsed->type >= 0 && parsed->type <= 3);
    const int count = ModuleFile::slotCount(parsed->type);
    FUZZ_CHECK(count > 0 && parsed->values.size() == static_cast<size_t>(count));

    const Checked<ModuleFileData> cut = parseModuleFile(firstLines(content, count + 1));
    FUZZ_CHECK(cut.ok() && cut->type == parsed->type && cut->values == parsed->values);
    if (content.size() + 8 <= ModuleFile::MaxSize) {
        const Checked<ModuleFileData> padded = parseModuleFile(content + "\r\n \r\n\t\n\r");
        FUZZ_CHECK(padded.ok() && padded->values == parsed->values);
    }

    ModuleImage image(count);
    for (int slot = 0; slot < count; ++slot) {
        const int v = parsed->values[static_cast<size_t>(slot)];
        FUZZ_CHECK(v >= 0 && v <= 999);
        image.set(slot, v);
    }

    // Written back, the file reads as the same module, and writing that again gives the same bytes.
    const Checked<QByteArray> bytes = moduleFileContent(parsed->type, image);
    FUZZ_CHECK(bytes.ok());
    const QByteArray &written = *bytes;
    FUZZ_CHECK(!written.isEmpty());
    FUZZ_CHECK(written.size() <= ModuleFile::MaxSize);
    const Checked<ModuleFileData> again = parseModuleFile(written);
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(again->type == parsed->type);
    FUZZ_CHECK(again->values == parsed->values);
    ModuleImage againImage(count);
    for (int slot = 0; slot < count; ++slot)
        againImage.set(slot, again->values[static_cast<size_t>(slot)]);
    FUZZ_CHECK(*moduleFileContent(again->type, againImage) == written);
    return 0;
}
