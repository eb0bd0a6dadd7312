#include "app/AdapterOfferQuestion.h"

#include "app/Messages.h"
#include "common/Lang.h"
#include "common/MessageBox.h"
#include "serial/AdapterOffer.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

// An adapter as the question names it: its description and device.
QString adapterName(const SerialPortEntry &entry)
{
    const QString device = QDir::toNativeSeparators(entry.device);
    return entry.description.isEmpty() ? device : u"%1 (%2)"_s.arg(entry.description, device);
}

} // namespace

bool askToBindAdapter(QWidget *parent, const AdapterOffer &offer, int port, int language)
{
    const std::optional<SerialPortEntry> adapter = offer.adapterFor(port);
    if (!adapter) return false;

    const QString name = adapterName(*adapter);
    const QString fallback = QDir::toNativeSeparators(PortBinding::deviceFor(port).name);
    const QString question = Lang::message(
        language,
        u"Er is één USB-seriële adapter aangesloten: %1.\nPoort %2 heeft geen koppeling en zou %3 openen.\n\n"
        u"Poort %2 aan deze adapter koppelen?"_s.arg(name, QString::number(port), fallback),
        u"Un adaptateur série USB est branché : %1.\nLe port %2 n'a pas de liaison et ouvrirait %3.\n\n"
        u"Lier le port %2 à cet adaptateur ?"_s.arg(name, QString::number(port), fallback));
    const QString title = Lang::pick(language, u"Poort kiezen"_s, u"Choisir le port"_s)
                              .value_or(u"Poort kiezen / Choisir le port"_s);
    const QList<std::pair<bool, QString>> options{
        {true, Lang::text(language, u"Ja"_s, u"Oui"_s, u"Ja / Oui"_s)},
        {false, Lang::text(language, u"Nee"_s, u"Non"_s, u"Nee / Non"_s)}};
    // "No" takes Enter and Esc: a key pressed without reading changes nothing.
    if (!MessageBox::ask(parent, title, question, options, false)) {
        AdapterOffer::decline(port, *adapter);
        return false;
    }
    const PortBinding::Outcome outcome = offer.accept(port, *adapter);
    if (!outcome.ok()) {
        MessageBox::information(parent, Lang::warningTitle(language),
                                Messages::failureText(outcome.failure, language));
        return false;
    }
    return true;
}
