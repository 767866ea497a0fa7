#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class ConfigFile;
class JLinkLibrary;
class MessagePresenter;
class QComboBox;

// One serial port as the system reports it.
struct SerialPortEntry
{
    QString location; // device path, e.g. /dev/ttyUSB0
    QString description;
    QString manufacturer;
};

// The control panel's probe list (1002) and serial port list (1004):
// filled on set-up and each time the user opens them, with the stored
// choice selected, or repaired to the first entry when it has gone.
namespace PortLists {

inline constexpr int kMaxSerialPorts = 200;

// Serial ports present now (QSerialPortInfo).
QList<SerialPortEntry> PresentSerialPorts();

// Ascending in natural order (ttyACM0, ttyUSB0, ttyUSB2, ttyUSB10).
bool NaturalLess(const QString &a, const QString &b);

// The texts the serial port list offers: the probe's own virtual port left
// out, natural order, at most kMaxSerialPorts. A stored port that is a
// device the enumeration does not report (a pseudo-terminal, such as the
// simulated chip's) is offered as well, so it is not "repaired" away.
QStringList SerialPortTexts(const QList<SerialPortEntry> &ports, const QString &storedPort);

void RefreshProbeList(QComboBox &list, ConfigFile &config, JLinkLibrary &jlink, MessagePresenter &messages);
void RefreshSerialPortList(QComboBox &list, ConfigFile &config, const QList<SerialPortEntry> &ports);

} // namespace PortLists
