#pragma once

#include "serial/PortBinding.h"

#include <QString>
#include <optional>

// Before a conversation opens a port that has no binding: the one USB serial adapter plugged in,
// which the installer may bind that port to. An offer the installer declined (this port, this
// adapter) is not made again until the program ends. Nothing is offered on Windows, where a port
// number names its COM port.
class AdapterOffer
{
public:
    explicit AdapterOffer(PortBinding binding = PortBinding());

    // The adapter to offer for `port`: exactly one USB serial adapter is plugged in, the port has
    // no binding (it would open its built-in port) and that offer was not declined.
    std::optional<SerialPortEntry> adapterFor(int port) const;
    // The installer said no: the same adapter is not offered for `port` again during this run.
    static void decline(int port, const SerialPortEntry &adapter);
    // The installer said yes: `port` is bound to the adapter.
    PortBinding::Outcome accept(int port, const SerialPortEntry &adapter) const;

    // Test hook: forgets the offers the installer declined.
    static void forgetDeclined();

private:
    PortBinding m_binding;
};
