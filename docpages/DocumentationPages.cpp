#include "docpages/DocumentationPages.h"

#include "common/InstallFolder.h"
#include "common/Lang.h"

namespace {
struct Row
{
    DocumentationPages::Button button;
    const char *typeEntry;
    const char *model;
};

const Row kRows[] = {
    {DocumentationPages::Button::Command11, "ZK3412_ZK2412", "ZK2412"},
    {DocumentationPages::Button::Command11, "ZK2018", "ZK2018"},
    {DocumentationPages::Button::Command11, "ZK2019", "ZK2019"},
    {DocumentationPages::Button::Command13, "ZK24XX_ZK3447", "ZK2425"},
    {DocumentationPages::Button::Command14, "ZK24XX_ZK3447", "ZK2436"},
    {DocumentationPages::Button::Command33, "ZK24XX_ZK3447", "ZK2447"},
};
} // namespace

QString DocumentationPages::documentFor(Button button, const QString &typeEntry, int language)
{
    const auto suffix = Lang::pick(language, QStringLiteral("_NL.pdf"), QStringLiteral("_FR.pdf"));
    if (!suffix) return QString();
    for (const Row &row : kRows) {
        if (row.button == button && typeEntry == QLatin1String(row.typeEntry))
            return InstallFolder::file(QLatin1String(row.model) + *suffix);
    }
    return QString();
}

QString DocumentationPages::notFetchedText(FetchFault fault, int language)
{
    switch (fault) {
    case FetchFault::TooLarge:
        return Lang::message(
            language, QStringLiteral("Het document is te groot (meer dan 64 MB) en werd niet geopend."),
            QStringLiteral("Le document est trop grand (plus de 64 Mo) et n'a pas été ouvert."));
    case FetchFault::TimedOut:
        return Lang::message(language,
                             QStringLiteral("Het document kwam niet op tijd binnen en werd niet geopend."),
                             QStringLiteral("Le document n'est pas arrivé à temps et n'a pas été ouvert."));
    case FetchFault::Failed:
        return Lang::message(language, QStringLiteral("Het document kon niet opgehaald worden."),
                             QStringLiteral("Le document n'a pas pu être téléchargé."));
    }
    return QString();
}
