// Any bytes as snapshot files: image A is loaded into a register window,
// saved again and compared; image B is compared with A's rows both as a file
// and as another window. Input: peripheral (byte), number base (byte),
// length of A (two bytes, little-endian), A, then B.
// - a load that works and a save give back A over the peripheral's span
//   (zero-filled past A's end);
// - rows compared with the image they were loaded from differ nowhere;
// - a file that covers the span compares as a window loaded from it does
//   (both for the registers that are a whole word).
#include "FuzzSupport.h"

#include "link/ConfigFile.h"
#include "link/TargetLinks.h"
#include "link/UserInterfaces.h"
#include "regmap/RegisterWindow.h"
#include "regmap/RegisterWindowTable.h"
#include "regmap/RowComparison.h"
#include "regmap/RowText.h"

#include <memory>
#include <vector>

namespace {

// Widths of 8, 16, 32 and 64 bits, two narrow registers in one word, an
// unaligned one, a register read with a side effect, an array, enumerated
// values; a peripheral whose span fills the transfer buffer and one that
// passes it.
const char kSvd[] = R"(<?xml version="1.0" encoding="utf-8"?>
<device><name>VX21A</name><peripherals>
  <peripheral><name>WIDE</name><baseAddress>0x40001000</baseAddress><registers>
    <register><name>CR</name><description>Control</description><addressOffset>0x0</addressOffset><fields>
      <field><name>EN</name><bitOffset>0</bitOffset><bitWidth>1</bitWidth></field>
      <field><name>MODE</name><bitRange>[7:4]</bitRange><enumeratedValues>
        <enumeratedValue><name>IDLE</name><value>0</value></enumeratedValue>
        <enumeratedValue><name>RUN</name><value>0x5</value></enumeratedValue></enumeratedValues></field>
      <field><name>TOP</name><lsb>31</lsb><msb>31</msb></field></fields></register>
    <register><name>SR</name><addressOffset>0x4</addressOffset><readAction>clear</readAction><fields>
      <field><name>ALL</name><bitOffset>0</bitOffset><bitWidth>32</bitWidth></field></fields></register>
    <register><name>ODD</name><addressOffset>0x6</addressOffset><fields/></register>
    <register><name>B0</name><addressOffset>0x8</addressOffset><size>8</size><fields>
      <field><name>LO</name><bitOffset>0</bitOffset><bitWidth>4</bitWidth></field></fields></register>
    <register><name>B1</name><addressOffset>0x9</addressOffset><size>8</size><fields/></register>
    <register><name>H</name><addressOffset>0xA</addressOffset><size>16</size><fields/></register>
    <register><name>ARR%s</name><addressOffset>0x10</addressOffset><dim>4</dim><dimIncrement>4</dimIncrement><fields/></register>
    <register><name>LAST</name><addressOffset>0x3C</addressOffset><fields/></register>
    <register><name>D64</name><addressOffset>0x40</addressOffset><size>64</size><fields>
      <field><name>LOWER</name><bitRange>[31:0]</bitRange></field>
      <field><name>UPPER</name><bitRange>[63:32]</bitRange></field>
      <field><name>SPLIT</name><bitOffset>28</bitOffset><bitWidth>8</bitWidth></field></fields></register>
  </registers></peripheral>
  <peripheral><name>TINY</name><baseAddress>0x40002000</baseAddress><registers>
    <register><name>R</name><addressOffset>0x0</addressOffset><size>16</size><fields/></register>
  </registers></peripheral>
  <peripheral><name>FULL</name><baseAddress>0x40010000</baseAddress><registers>
    <register><name>LOW</name><addressOffset>0x0</addressOffset><fields/></register>
    <register><name>END</name><addressOffset>0x3FFC</addressOffset><fields/></register>
  </registers></peripheral>
  <peripheral><name>BIG</name><baseAddress>0x40020000</baseAddress><registers>
    <register><name>R</name><addressOffset>0x4000</addressOffset><fields/></register>
  </registers></peripheral>
</peripherals></device>
)";

const char *const kPeripherals[] = {"WIDE", "TINY", "FULL", "BIG"};

// The user's side without windows: messages counted, never shown.
class QuietUser : public MessagePresenter, public FileChooser, public BusyIndicator, public PanelSelections
{
public:
    void ShowMessage(MessageKind, const QString &, const QString &) override { ++messages; }
    QString ChooseFile(const FileRequest &) override { return QString(); }
    void SetBusy(bool) override {}
    QString ChipModel() const override { return QStringLiteral("VX21A"); }
    int DataSourceEntry() const override { return 0; }
    QString ProbeText() const override { return QString(); }
    int NumberBaseEntry() const override { return numberBase; }

    int messages = 0;
    int numberBase = 1;
};

struct Windows
{
    Windows()
    {
        QDir(home).mkpath(QStringLiteral("svd"));
        Fuzz::PutFile(home + QStringLiteral("/svd/VX21A.svd"), QByteArrayView(kSvd, sizeof kSvd - 1));
        for (int slot = 0; slot < 2; ++slot) {
            table.SetNextWindowSlot(slot);
            window[slot] = std::make_unique<RegisterWindow>(env, table);
            for (const char *name : kPeripherals)
                window[slot]->AddPeripheralRows(QString::fromLatin1(name));
        }
    }

    QString home = Fuzz::ScratchFolder();
    QuietUser user;
    UserContext context{user, user, user, user};
    ConfigFile config{home + QStringLiteral("/Corvane.ini")};
    TargetLinks links{[this] { return user.ChipModel(); }};
    RegisterWindowEnv env{config, links, context, home};
    RegisterWindowTable table;
    std::unique_ptr<RegisterWindow> window[2];
};

// A comparison takes a register's whole words as the other side's value; only
// registers that are their whole words compare as they show. (A narrow or
// unaligned register would differ from the very file it was loaded from.)
bool IsWholeWord(const RegisterRow &row)
{
    const RegisterRow &reg = row.RowKind() == RegisterRow::Kind::Register ? row : *row.Parent();
    return (reg.Traits().bits == 32 || reg.Traits().bits == 64) && reg.Traits().offset % 4 == 0;
}

std::vector<const RowComparison::Difference *> WholeWordDifferences(const RowComparison &comparison)
{
    std::vector<const RowComparison::Difference *> differences;
    for (const RowComparison::Difference &difference : comparison.Differences()) {
        Fuzz::Check(difference.row != nullptr && comparison.Find(difference.row->Id()) == &difference);
        if (IsWholeWord(*difference.row))
            differences.push_back(&difference);
    }
    return differences;
}

bool SameDifferences(const RowComparison &a, const RowComparison &b)
{
    const auto ours = WholeWordDifferences(a);
    if (ours.size() != WholeWordDifferences(b).size())
        return false;
    for (const RowComparison::Difference *difference : ours) {
        const RowComparison::Difference *other = b.Find(difference->row->Id());
        if (!other || other->other != difference->other || other->otherText != difference->otherText)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static Windows windows;
    Fuzz::InputReader input(data, size);
    const QString name = QString::fromLatin1(kPeripherals[input.Byte() % std::size(kPeripherals)]);
    windows.user.numberBase = input.Byte() % 2;
    const qsizetype lengthA = std::min<qsizetype>(input.Byte() | input.Byte() << 8, input.Left());
    QByteArray imageA;
    for (qsizetype i = 0; i < lengthA; ++i)
        imageA += char(input.Byte());
    const QByteArray imageB = input.Rest().toByteArray();

    RegisterWindow &first = *windows.window[0];
    RegisterWindow &second = *windows.window[1];
    first.ApplyNumberBase();
    second.ApplyNumberBase();
    const QString fileA = Fuzz::ScratchPath(QStringLiteral("a.bin"));
    const QString fileB = Fuzz::ScratchPath(QStringLiteral("b.bin"));
    Fuzz::PutFile(fileA, imageA);
    Fuzz::PutFile(fileB, imageB);

    const bool loaded = first.LoadSnapshot(name, fileA);
    const RegisterRow *peripheral = first.Tree().FindTopRow(name);
    Fuzz::Check(peripheral != nullptr);
    if (!loaded)
        return 0; // refused with its message: BIG passes the transfer buffer
    const uint32_t span = peripheral->Traits().span;

    const QString saved = Fuzz::ScratchPath(QStringLiteral("saved.bin"));
    Fuzz::Check(first.SaveSnapshot(name, saved));
    QByteArray expected = imageA.left(span);
    expected.append(qsizetype(span) - expected.size(), '\0');
    Fuzz::Check(Fuzz::FileBytes(saved) == expected);

    Fuzz::Check(WholeWordDifferences(RowComparison::AgainstImage(*peripheral, imageA)).empty());
    const RowComparison withFile = RowComparison::AgainstImage(*peripheral, imageB);

    Fuzz::Check(second.LoadSnapshot(name, fileB));
    const RowComparison withWindow = RowComparison::AgainstRows(*peripheral, *second.Tree().FindTopRow(name));
    if (qsizetype(span) <= imageB.size())
        Fuzz::Check(SameDifferences(withFile, withWindow));
    second.FillPeripheral(name, imageA);
    return 0;
}
