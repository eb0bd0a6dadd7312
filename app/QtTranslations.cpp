#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace QtTranslations {

bool load(int language)
{
    static QTranslator *installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    const char *name = language == 1 ? "qtbase_nl" : language == 2 ? "qtbase_fr" : nullptr;
    if (!name || !QCoreApplication::instance()) return language != 1 && language != 2;
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QString::fromLatin1(name), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

} // namespace QtTranslations
