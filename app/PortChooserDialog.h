#pragma once

#include "serial/PortBinding.h"

#include <QDialog>
#include <chrono>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

// "Poort kiezen" / "Choisir le port": binds the port number in use to one of the serial ports the
// computer has (listed anew while the dialog is open, so an adapter plugged in or pulled out shows
// at once) or to any device whose name the installer types. On Windows it picks the COM port the
// number stands for instead.
class PortChooserDialog : public QDialog
{
    Q_OBJECT
public:
    // How often the list of ports is read again while the dialog is open.
    static constexpr std::chrono::milliseconds kRefreshInterval{1000};

    PortChooserDialog(PortBinding binding, int port, int language, QWidget *parent = nullptr);

    // The port number the dialog binds (on Windows the installer's choice changes it).
    int portNumber() const { return m_port; }

public Q_SLOTS:
    // Reads the list of ports again (the rows are rebuilt only when it changed) and what the port
    // opens now.
    void refresh();
    void BindButton_Click();
    void UnbindButton_Click();

Q_SIGNALS:
    // The port now opens another device (bound or unbound).
    void bindingChanged(int port);
    // Windows: the installer chose the COM port of this number.
    void portNumberChosen(int port);

private:
    // What the buttons follow: "Koppelen" needs a device named, "Geen koppeling" a binding of the
    // installer's own to remove.
    struct Facts
    {
        bool deviceNamed = false;
        bool ownBinding = false;
    };
    Facts facts() const;
    void showRows(const SerialPortList &ports);
    void showPort();
    // The one place that enables and disables the buttons, from facts().
    void updateButtons();
    void rowChosen(QTreeWidgetItem *item);
    void warn(const PortBinding::Outcome &outcome);
    QString text(const QString &dutch, const QString &french) const;

    QLabel *PortLabel;
    QLabel *ListLabel;
    QTreeWidget *PortList;
    QLabel *NoPortsLabel;
    QLabel *DeviceLabel;
    QLineEdit *DeviceEdit;
    QPushButton *BindButton;
    QPushButton *UnbindButton;
    QPushButton *CloseButton;
    QTimer *RefreshTimer;

    PortBinding m_binding;
    int m_port;
    int m_language;
    SerialPortList m_shown;
    bool m_listed = false;
};
