#pragma once

#include "common/Lang.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QString>
#include <QTextDocument>
#include <QWidget>

// Sets a control's text in the window's language; with a language other than Dutch or French
// the control keeps its design-time text.
namespace Lang {

inline void apply(QAbstractButton *w, const QString &t)
{
    w->setText(t);
}
inline void apply(QLabel *w, const QString &t)
{
    w->setText(t);
}
inline void apply(QGroupBox *w, const QString &t)
{
    w->setTitle(t);
}
inline void apply(QLineEdit *w, const QString &t)
{
    w->setText(t);
}
inline void apply(QAction *w, const QString &t)
{
    w->setText(t);
}
inline void apply(QMenu *w, const QString &t)
{
    w->setTitle(t);
}

template <typename W> void setText(W *w, Language language, const QString &dutch, const QString &french)
{
    if (const auto t = pick(language, dutch, french)) apply(w, *t);
}
template <typename W> void setText(W *w, Language language, const Text &text)
{
    setText(w, language, text.dutch, text.french);
}

// Sets a text asked in the window's language (SlotWords' words): an empty one means the language
// is neither Dutch nor French, and the control keeps its design-time text.
template <typename W> void setWords(W *w, const QString &words)
{
    if (!words.isEmpty()) apply(w, words);
}

inline void setWindowTitle(QWidget *w, int language, const QString &dutch, const QString &french)
{
    if (const auto t = pick(language, dutch, french)) w->setWindowTitle(*t);
}

// `text` as the caption of a menu entry, or of a label that has a buddy, shows it: an ampersand
// in a name the installer typed is no mnemonic.
inline QString literalAmpersands(QString text)
{
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// A tooltip that shows `text` (a path or name from outside) as it is: a tooltip that looks like
// markup is read as markup, which could load a file a tag in it names, so such text is escaped and
// kept on its lines, blanks and all.
inline QString plainToolTip(const QString &text)
{
    if (!Qt::mightBeRichText(text)) return text;
    return QStringLiteral("<p style=\"white-space:pre\">%1</p>").arg(text.toHtmlEscaped());
}

} // namespace Lang
