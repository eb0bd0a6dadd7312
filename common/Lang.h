#pragma once

#include <QString>
#include <optional>

// Every text the installer sees exists in Dutch (language 1) and French (language 2). With any
// other language value no run-time text is set and a control keeps its design-time text.
namespace Lang {

// The window's language: 1 Dutch, 2 French, any other code neither. It is made from the code
// the settings keep (implicitly, so a function taking a Language takes the model's number).
class Language
{
public:
    constexpr Language(int code = 0) : m_code(code) {}
    constexpr int code() const { return m_code; }
    constexpr bool isDutch() const { return m_code == 1; }
    constexpr bool isFrench() const { return m_code == 2; }
    // Dutch or French: the window sets its run-time texts.
    constexpr bool isSet() const { return isDutch() || isFrench(); }
    // The language of texts that are read whatever the setting (a comparison, a report, a port's
    // description): French when French, Dutch otherwise, the texts a window shows before a
    // language is set.
    constexpr Language readable() const { return Language(isFrench() ? 2 : 1); }

private:
    int m_code;
};

// A text in Dutch and French (UTF-8 sources).
struct Text
{
    QString dutch;
    QString french;

    // The text in `language`; nothing when the language is neither Dutch nor French.
    std::optional<QString> in(Language language) const
    {
        if (language.isDutch()) return dutch;
        if (language.isFrench()) return french;
        return std::nullopt;
    }
    // The text in `language`, or `fallback` when the language is neither.
    QString in(Language language, const QString &fallback) const { return in(language).value_or(fallback); }
    // The text of a message box: Dutch or French, or both when the language is neither.
    QString message(Language language) const
    {
        return in(language).value_or(dutch + QStringLiteral("\n\n") + french);
    }
    bool operator==(const Text &) const = default;
};

inline std::optional<QString> pick(Language language, const QString &dutch, const QString &french)
{
    return Text{dutch, french}.in(language);
}

// The text for the language, or `fallback` when the language is neither Dutch nor French.
inline QString text(Language language, const QString &dutch, const QString &french,
                    const QString &fallback = {})
{
    return Text{dutch, french}.in(language, fallback);
}

// The text of a message box: Dutch or French, or both when the language is neither.
inline QString message(Language language, const QString &dutch, const QString &french)
{
    return Text{dutch, french}.message(language);
}

// The title of the program's warning boxes.
inline QString warningTitle(Language language)
{
    return Text{QStringLiteral("Opgelet !"), QStringLiteral("Attention !")}.in(
        language, QStringLiteral("Opgelet ! / Attention !"));
}

} // namespace Lang
