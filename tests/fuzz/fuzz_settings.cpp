// The settings files of the installation folder can hold anything (edited by hand, written by
// older versions, damaged): reading them must never fail, and what the program writes itself
// must read back as written.
#include "FuzzCheck.h"
#include "app/SettingsFiles.h"

#include <cstddef>
#include <cstdint>

namespace {
bool hasLineEnd(const QString &s)
{
    return s.contains(QLatin1Char('\r')) || s.contains(QLatin1Char('\n'));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    // Only the first line counts, whatever follows it.
    const QString field = SettingsFiles::firstField(content);
    FUZZ_CHECK(!hasLineEnd(field));
    FUZZ_CHECK(field.size() <= static_cast<qsizetype>(size));

    const std::optional<int> number = SettingsFiles::numberField(content);
    if (number) {
        // A language or port number the program writes reads back as the same number.
        FUZZ_CHECK(SettingsFiles::numberField(SettingsFiles::languageContent(*number)) == number);
        FUZZ_CHECK(SettingsFiles::numberField(SettingsFiles::portContent(*number)) == number);
    }

    const QString folder = SettingsFiles::folderLine(content);
    FUZZ_CHECK(!hasLineEnd(folder));
    FUZZ_CHECK(folder.size() <= static_cast<qsizetype>(size));
    // A folder the program writes reads back whole (commas, quotes inside, blanks and all),
    // unless it is itself wrapped in a pair of quotes, which reading takes off.
    const bool wrapped =
        folder.size() >= 2 && folder.startsWith(QLatin1Char('"')) && folder.endsWith(QLatin1Char('"'));
    if (!wrapped) FUZZ_CHECK(SettingsFiles::folderLine(SettingsFiles::folderContent(folder)) == folder);
    return 0;
}
