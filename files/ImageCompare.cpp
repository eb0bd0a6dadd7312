#include "files/ImageCompare.h"

#include "common/Lang.h"
#include "editors/SlotWords.h"
#include "protocol/ModuleTypes.h"

namespace ImageCompare {
namespace {

using Kind = Difference::Kind;

QString modelEntry(int type)
{
    const ModuleTypeInfo *info = ModuleTypes::info(type);
    return info ? QString::fromLatin1(info->comboEntry) : QString::number(type);
}

bool fits(int type, const ModuleImage &image)
{
    const ModuleTypeInfo *info = ModuleTypes::info(type);
    return info && image.size() == info->slotCount;
}

} // namespace

int Result::failures() const
{
    int count = 0;
    for (const Difference &d : differences)
        if (d.kind != Kind::Version) ++count;
    return count;
}

bool Result::versionDiffers() const
{
    for (const Difference &d : differences)
        if (d.kind == Kind::Version) return true;
    return false;
}

Result compare(int typeInHand, const ModuleImage &inHand, int otherType, const ModuleImage &other,
               int language, const ModuleNames *names)
{
    Result result;
    if (!fits(typeInHand, inHand)) {
        result.outcome = Outcome::NothingInHand;
        return result;
    }
    if (!fits(otherType, other)) {
        result.outcome = Outcome::NothingInOther;
        return result;
    }
    if (ModuleTypes::info(typeInHand)->image != ModuleTypes::info(otherType)->image) {
        result.outcome = Outcome::OtherType;
        return result;
    }
    result.outcome = Outcome::Compared;
    const Lang::Language lang = Lang::Language(language).readable();
    if (typeInHand != otherType)
        result.differences.append(
            {Kind::ModuleType,
             {},
             Lang::text(lang, QStringLiteral("Moduletype"), QStringLiteral("Type de module")),
             modelEntry(typeInHand),
             modelEntry(otherType)});
    // The slots mean the same in both images; the type in hand names them.
    const SlotWords words(typeInHand, lang, names);
    for (int slot : words.order()) {
        if (inHand.value(slot) == other.value(slot)) continue;
        result.differences.append({words.isVersion(slot) ? Kind::Version : Kind::Setting,
                                   {slot},
                                   words.slotName(slot),
                                   words.value(inHand, slot),
                                   words.value(other, slot)});
    }
    return result;
}

QString cannotCompareMessage(const Result &result, int typeInHand, int otherType, int language)
{
    switch (result.outcome) {
    case Outcome::Compared:
        break;
    case Outcome::OtherType:
        return Lang::message(
            language,
            QStringLiteral("Vergelijken is niet mogelijk: het programma bevat een module %1, het bestand een "
                           "module %2. Alleen modules van hetzelfde type kunnen vergeleken worden.")
                .arg(modelEntry(typeInHand), modelEntry(otherType)),
            QStringLiteral("Comparaison impossible: le programme contient un module %1, le fichier un module "
                           "%2. Seuls des modules du même type peuvent être comparés.")
                .arg(modelEntry(typeInHand), modelEntry(otherType)));
    case Outcome::NothingInHand:
        return Lang::message(
            language,
            QStringLiteral("Vergelijken is niet mogelijk: er zijn nog geen modulegegevens in "
                           "het programma. Verbind eerst met een module of open een "
                           "modulebestand."),
            QStringLiteral("Comparaison impossible: le programme ne contient pas encore de "
                           "données de module. Connectez d'abord un module ou ouvrez un "
                           "fichier module."));
    case Outcome::NothingInOther:
        return Lang::message(
            language,
            QStringLiteral("Vergelijken is niet mogelijk: het bestand bevat geen volledige modulegegevens."),
            QStringLiteral(
                "Comparaison impossible: le fichier ne contient pas de données de module complètes."));
    }
    return QString();
}

QString summary(const Result &result, int language)
{
    const Lang::Language lang = Lang::Language(language).readable();
    const int n = result.failures();
    const bool version = result.versionDiffers();
    if (n == 0)
        return version ? Lang::text(lang, QStringLiteral("Geen verschillen, alleen een andere versie"),
                                    QStringLiteral("Aucune différence, seulement une autre version"))
                       : Lang::text(lang, QStringLiteral("Geen verschillen"),
                                    QStringLiteral("Aucune différence"));
    QString text =
        n == 1 ? Lang::text(lang, QStringLiteral("1 verschil"), QStringLiteral("1 différence"))
               : Lang::text(lang, QStringLiteral("%1 verschillen"), QStringLiteral("%1 différences")).arg(n);
    if (version)
        text += Lang::text(lang, QStringLiteral(" en een andere versie"),
                           QStringLiteral(" et une autre version"));
    return text;
}

QStringList lines(const QList<Difference> &differences)
{
    QStringList out;
    for (const Difference &d : differences)
        out << d.what + QStringLiteral(": ") + d.before + QStringLiteral(" → ") + d.after;
    return out;
}

} // namespace ImageCompare
