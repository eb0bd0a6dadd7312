#pragma once

#include <QString>
#include <optional>

// Every text the installer sees exists in Dutch (Language 1) and French (Language 2). With any
// other language value no run-time text is set and a control keeps its design-time text.
namespace Lang {

inline std::optional<QString> pick(int language, const QString &dutch, const QString &french)
{
    if (language == 1) return dutch;
    if (language == 2) return french;
    return std::nullopt;
}

// The text for the language, or `fallback` when the language is neither Dutch nor French.
inline QString text(int language, const QString &dutch, const QString &french, const QString &fallback = {})
{
    return pick(language, dutch, french).value_or(fallback);
}

// The text of a message box: Dutch or French, or both when the language is neither.
inline QString message(int language, const QString &dutch, const QString &french)
{
    return pick(language, dutch, french).value_or(dutch + QStringLiteral("\n\n") + french);
}

// The title of the program's warning boxes.
inline QString warningTitle(int language)
{
    return pick(language, QStringLiteral("Opgelet !"), QStringLiteral("Attention !"))
        .value_or(QStringLiteral("Opgelet ! / Attention !"));
}

} // namespace Lang
