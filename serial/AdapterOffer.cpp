#include "serial/AdapterOffer.h"

#include <QSet>
#include <utility>

namespace {

// The offers declined during this run, as "port|device".
QSet<QString> &declinedOffers()
{
    static QSet<QString> declined;
    return declined;
}

QString offerKey(int port, const SerialPortEntry &adapter)
{
    return QString::number(port) + QLatin1Char('|') + adapter.device;
}

} // namespace

AdapterOffer::AdapterOffer(PortBinding binding) : m_binding(std::move(binding)) {}

std::optional<SerialPortEntry> AdapterOffer::adapterFor(int port) const
{
#ifdef Q_OS_WIN
    Q_UNUSED(port);
    return std::nullopt;
#else
    if (PortBinding::deviceFor(port).source != PortDevice::Source::Fallback) return std::nullopt;
    std::optional<SerialPortEntry> adapter = m_binding.singleUsbAdapter();
    if (adapter && declinedOffers().contains(offerKey(port, *adapter))) return std::nullopt;
    return adapter;
#endif
}

void AdapterOffer::decline(int port, const SerialPortEntry &adapter)
{
    declinedOffers().insert(offerKey(port, adapter));
}

PortBinding::Outcome AdapterOffer::accept(int port, const SerialPortEntry &adapter) const
{
    return m_binding.bind(port, adapter.device);
}

void AdapterOffer::forgetDeclined()
{
    declinedOffers().clear();
}
