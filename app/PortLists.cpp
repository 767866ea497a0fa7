#include "app/PortLists.h"

#include "link/ConfigFile.h"
#include "link/JLinkLibrary.h"
#include "link/LinkMessages.h"
#include "link/Settings.h"
#include "link/UserInterfaces.h"

#include <QComboBox>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <sys/stat.h>

#include <algorithm>

namespace PortLists {
namespace {

bool IsProbePort(const SerialPortEntry &port)
{
    for (const QString &text : {port.description, port.manufacturer})
        if (text.contains(QLatin1String("JLink")) || text.contains(QLatin1String("J-Link")))
            return true;
    return false;
}

bool IsCharacterDevice(const QString &path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISCHR(info.st_mode);
}

// Adds the texts, selecting the one equal to the stored value (case ignored);
// repairs a stored value that is not offered to the first entry.
void FillAndSelect(QComboBox &list, ConfigFile &config, const char *key, const QStringList &texts, QString stored)
{
    const bool hadStored = !stored.isEmpty();
    bool found = false;
    for (const QString &text : texts) {
        list.addItem(text);
        if (!found && hadStored && text.compare(stored, Qt::CaseInsensitive) == 0) {
            list.setCurrentIndex(list.count() - 1);
            found = true;
        }
    }
    if (hadStored && !found && list.count() > 0) {
        list.setCurrentIndex(0);
        config.WriteText(ConfigKey::kCommon, key, list.itemText(0));
    }
}

} // namespace

QList<SerialPortEntry> PresentSerialPorts()
{
    QList<SerialPortEntry> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports.append({info.systemLocation(), info.description(), info.manufacturer()});
    return ports;
}

bool NaturalLess(const QString &a, const QString &b)
{
    int i = 0;
    int j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            int endA = i;
            int endB = j;
            while (endA < a.size() && a[endA].isDigit())
                ++endA;
            while (endB < b.size() && b[endB].isDigit())
                ++endB;
            // Compare the numbers without converting: leading zeros off, then
            // by length, then digit by digit.
            int startA = i;
            int startB = j;
            while (startA + 1 < endA && a[startA] == QLatin1Char('0'))
                ++startA;
            while (startB + 1 < endB && b[startB] == QLatin1Char('0'))
                ++startB;
            const int lengthA = endA - startA;
            const int lengthB = endB - startB;
            if (lengthA != lengthB)
                return lengthA < lengthB;
            for (int k = 0; k < lengthA; ++k)
                if (a[startA + k] != b[startB + k])
                    return a[startA + k] < b[startB + k];
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

QStringList SerialPortTexts(const QList<SerialPortEntry> &ports, const QString &storedPort)
{
    QStringList texts;
    for (const SerialPortEntry &port : ports)
        if (!IsProbePort(port) && !port.location.isEmpty())
            texts << port.location;
    texts.removeDuplicates();
    if (!storedPort.isEmpty() && !texts.contains(storedPort, Qt::CaseInsensitive)) {
        const QString path = storedPort.contains(QLatin1Char('/')) ? storedPort : QStringLiteral("/dev/") + storedPort;
        if (IsCharacterDevice(path))
            texts << storedPort;
    }
    std::stable_sort(texts.begin(), texts.end(), NaturalLess);
    if (texts.size() > kMaxSerialPorts)
        texts.resize(kMaxSerialPorts);
    return texts;
}

void RefreshProbeList(QComboBox &list, ConfigFile &config, JLinkLibrary &jlink, MessagePresenter &messages)
{
    const QString stored =
        config.ReadText(ConfigKey::kCommon, ConfigKey::kJlinkPort, QString(), ConfigKey::kPanelPortSize);
    const QSignalBlocker quiet(list);
    list.clear();
    list.setCurrentIndex(-1);
    if (!jlink.IsBound()) {
        messages.ShowFailure(QString::fromUtf8(LinkMessages::kProbeLibraryMissing));
        return;
    }
    QStringList texts;
    for (uint32_t serialNumber : jlink.ProbeSerialNumbers())
        texts << QString::number(static_cast<int32_t>(serialNumber)); // "%d"
    FillAndSelect(list, config, ConfigKey::kJlinkPort, texts, stored);
    if (stored.isEmpty())
        list.setCurrentIndex(-1);
}

void RefreshSerialPortList(QComboBox &list, ConfigFile &config, const QList<SerialPortEntry> &ports)
{
    const QString stored =
        config.ReadText(ConfigKey::kCommon, ConfigKey::kUartPort, QString(), ConfigKey::kPanelPortSize);
    const QSignalBlocker quiet(list);
    list.clear();
    list.setCurrentIndex(-1);
    FillAndSelect(list, config, ConfigKey::kUartPort, SerialPortTexts(ports, stored), stored);
    if (stored.isEmpty())
        list.setCurrentIndex(-1);
}

} // namespace PortLists
