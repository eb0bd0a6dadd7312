// The installation file reader: never a crash, whatever the bytes; an installation it accepts
// keeps every limit, and writing it gives a file that reads back to the same bytes again.
#include "FuzzCheck.h"
#include "installation/Installation.h"
#include "protocol/ModuleTypes.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const Checked<Installation> parsed = parseInstallation(content);
    if (!parsed) {
        FUZZ_CHECK(parsed.failure().kind != Failure::Kind::None);
        FUZZ_CHECK(!parsed.failure().detail.isEmpty());
        return 0;
    }
    FUZZ_CHECK(parsed->modules.size() <= size_t(InstallationFormat::MaxModules));
    FUZZ_CHECK(parsed->name.size() <= InstallationFormat::MaxNameLength);
    QSet<QString> ids;
    for (const InstallationModule &m : parsed->modules) {
        FUZZ_CHECK(!m.id.isEmpty() && !ids.contains(m.id));
        ids.insert(m.id);
        FUZZ_CHECK(m.type >= 0 && m.type <= 3);
        FUZZ_CHECK(m.image.size() == ModuleTypes::info(m.type)->slotCount);
        FUZZ_CHECK(!m.knownImage || m.knownImage->size() == m.image.size());
        FUZZ_CHECK(m.notes.size() <= InstallationFormat::MaxNotesLength);
    }
    const QByteArray written = installationContent(*parsed);
    const Checked<Installation> again = parseInstallation(written);
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(installationContent(*again) == written);
    return 0;
}
