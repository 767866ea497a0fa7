#include "regmap/SvdDocumentCache.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using Outcome = SvdPeripheralResult::Outcome;

// A file of peripheral A at `base` (written as eight hex digits, so every
// base gives the same size) with a derived copy B and an array C[2].
QByteArray Device(std::uint32_t base)
{
    return "<device><name>D</name><peripherals>"
           "<peripheral><name>A</name><baseAddress>" +
           QByteArray("0x") + QByteArray::number(base, 16).rightJustified(8, '0') +
           "</baseAddress><registers>"
           "<register><name>R</name><addressOffset>0</addressOffset><fields>"
           "<field><name>F</name><bitOffset>0</bitOffset><bitWidth>2</bitWidth><enumeratedValues>"
           "<enumeratedValue><name>ON</name><value>1</value></enumeratedValue></enumeratedValues></field>"
           "</fields></register></registers></peripheral>"
           "<peripheral derivedFrom=\"A\"><name>B</name><baseAddress>0x50000000</baseAddress></peripheral>"
           "<peripheral><dim>2</dim><dimIncrement>0x100</dimIncrement><name>C[%s]</name>"
           "<baseAddress>0x60000000</baseAddress><registers><register><name>S</name>"
           "<addressOffset>4</addressOffset></register></registers></peripheral>"
           "</peripherals></device>";
}

struct CacheRig
{
    bool Put(const QString &name, const QByteArray &text, const QDateTime &time = {})
    {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return false;
        // Written out first: a flush at close would stamp the file with the
        // current time again, which two quick writes can share.
        if (!file.flush())
            return false;
        if (time.isValid() && !file.setFileTime(time, QFileDevice::FileModificationTime))
            return false;
        return true;
    }
    QString Path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
    SvdDocumentCache cache;
};

// One version of the file is parsed once and each peripheral walked once,
// whatever is asked again; what is kept is what a fresh walk gives.
TEST(SvdDocumentCache, WalksEachPeripheralOfAVersionOnce)
{
    CacheRig rig;
    const QDateTime time = QDateTime::currentDateTime().addSecs(-60);
    ASSERT_TRUE(rig.Put("chip.svd", Device(0x40000000), time));
    for (int round = 0; round < 3; ++round) {
        rig.cache.Follow(rig.Path("chip.svd"));
        EXPECT_EQ(rig.cache.PeripheralNames(), QStringList({"A", "B", "C[0]", "C[1]"}));
        for (const QString name : {"A", "B", "C[1]", "A", "C[0]"})
            EXPECT_EQ(rig.cache.Peripheral(name).outcome, Outcome::Found) << qPrintable(name);
        EXPECT_EQ(rig.cache.Peripheral("NONE").outcome, Outcome::NotPresent);
    }
    EXPECT_EQ(rig.cache.Parses(), 1);
    EXPECT_EQ(rig.cache.Walks(), 5); // A, B, C[1], C[0], NONE

    const SvdPeripheral &b = rig.cache.Peripheral("B").peripheral;
    const SvdPeripheralResult fresh = SvdDeviceModel::ReadPeripheral(rig.Path("chip.svd"), u"B");
    EXPECT_EQ(b.baseAddress, 0x50000000u);
    ASSERT_EQ(b.registers.size(), fresh.peripheral.registers.size());
    ASSERT_EQ(b.registers[0].fields.size(), 1);
    EXPECT_EQ(b.registers[0].fields[0].enumValues.size(), 1);
    EXPECT_EQ(b.registers[0].address, fresh.peripheral.registers[0].address);
    EXPECT_EQ(rig.cache.Peripheral("C[1]").peripheral.registers[0].address, 0x60000104u);
}

// A new time or size, or another path, is another version: parsed and
// walked again, and what it says is what is given.
TEST(SvdDocumentCache, ReadsAChangedFileAgain)
{
    CacheRig rig;
    const QDateTime time = QDateTime::currentDateTime().addSecs(-60);
    ASSERT_TRUE(rig.Put("chip.svd", Device(0x40000000), time));
    ASSERT_TRUE(rig.Put("other.svd", Device(0x48000000), time));
    const QString path = rig.Path("chip.svd");
    rig.cache.Follow(path);
    EXPECT_EQ(rig.cache.Peripheral("A").peripheral.baseAddress, 0x40000000u);

    struct Change
    {
        const char *what;
        std::function<bool()> make;
        std::uint32_t base;
    };
    const std::vector<Change> changes = {
        {"same size, later time", [&] { return rig.Put("chip.svd", Device(0x41000000), time.addSecs(10)); },
         0x41000000},
        {"another size", [&] { return rig.Put("chip.svd", Device(0x42000000) + "\n", time.addSecs(10)); }, 0x42000000},
        {"deleted", [&] { return QFile::remove(path); }, 0},
        {"back again", [&] { return rig.Put("chip.svd", Device(0x43000000), time); }, 0x43000000},
    };
    int parses = rig.cache.Parses();
    int walks = rig.cache.Walks();
    for (const Change &change : changes) {
        ASSERT_TRUE(change.make()) << change.what;
        rig.cache.Follow(path);
        EXPECT_EQ(rig.cache.Parses(), ++parses) << change.what;
        const SvdPeripheralResult &a = rig.cache.Peripheral("A");
        EXPECT_EQ(rig.cache.Walks(), ++walks) << change.what;
        if (change.base == 0) {
            EXPECT_NE(a.outcome, Outcome::Found) << change.what;
            EXPECT_TRUE(rig.cache.PeripheralNames().isEmpty());
        } else {
            EXPECT_EQ(a.peripheral.baseAddress, change.base) << change.what;
        }
    }

    rig.cache.Follow(rig.Path("other.svd"));
    EXPECT_EQ(rig.cache.Peripheral("A").peripheral.baseAddress, 0x48000000u);
    EXPECT_EQ(rig.cache.Parses(), parses + 1);
    rig.cache.Follow(rig.Path("other.svd"));
    rig.cache.Peripheral("A");
    EXPECT_EQ(rig.cache.Walks(), walks + 1);
}

} // namespace
