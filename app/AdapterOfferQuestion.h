#pragma once

class AdapterOffer;
class QWidget;

// Before a conversation opens a port without a binding: when `offer` has an adapter for `port`
// (the one USB serial adapter plugged in), asks whether to bind the port to it and binds it on
// "yes"; a "no" is remembered by the offer. True when the port is bound now. A refused binding
// is told in a message.
bool askToBindAdapter(QWidget *parent, const AdapterOffer &offer, int port, int language);
