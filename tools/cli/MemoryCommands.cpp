// Commands that show target memory as a memory window does: dump.
#include "link/LinkCycle.h"
#include "memview/AddressInput.h"
#include "memview/ChipAddressMap.h"
#include "memview/MemoryRows.h"
#include "memview/MemoryText.h"
#include "memview/MemoryUnits.h"
#include "memview/MemoryViewMessages.h"
#include "link/NumberInput.h"
#include "ops/MemoryOps.h"
#include "ops/OpsMessages.h"
#include "regmap/SvdDeviceModel.h"
#include "tools/cli/CliMessages.h"
#include "tools/cli/CliTarget.h"
#include "link/Tr.h"

#include <QtGlobal>
#include <algorithm>

namespace {

struct DumpOptions
{
    QString address;
    QString length;
    int unit = 1;
    bool json = false;
};

bool ParseDumpOptions(const QStringList &args, DumpOptions &options)
{
    QStringList places;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == u"--unit" && i + 1 < args.size()) {
            bool ok = false;
            options.unit = args[++i].toInt(&ok);
            if (!ok || !MemoryUnits::IsSize(options.unit))
                return false;
        } else if (arg == u"--format" && i + 1 < args.size()) {
            const QString format = args[++i];
            if (format != u"hex" && format != u"json")
                return false;
            options.json = format == u"json";
        } else if (arg.startsWith(u"--")) {
            return false;
        } else {
            places << arg;
        }
    }
    if (places.size() != 2)
        return false;
    options.address = places[0];
    options.length = places[1];
    return true;
}

// The rows of 16 bytes a memory window shows from ADDRESS (a hexadecimal
// address or a name of the chip's SVD file) for LENGTH bytes, whole units.
int Dump(const CliContext &context)
{
    DumpOptions options;
    if (!ParseDumpOptions(context.args, options))
        return CliUsageError;
    CliTarget target(context);
    const QString chip = target.user.ChipModel();
    const ChipAddressMap map = ChipAddressMap::Load(SvdDeviceModel::SvdFilePath(context.home, chip));
    const std::optional<uint32_t> address = AddressInput::Parse(options.address, &map);
    if (!address) {
        target.user.ShowFailure(Tr(MemoryViewMessages::kNoAddress).arg(options.address));
        return target.user.ExitStatus();
    }
    const std::optional<uint64_t> typedLength = NumberInput::Value(options.length, NumberInput::kAddress);
    if (!typedLength) {
        target.user.ShowFailure(QString::fromLatin1(CliMessages::kNoLength).arg(options.length));
        return target.user.ExitStatus();
    }
    uint64_t length = *typedLength;
    if (length == 0) {
        target.user.ShowFailure(Tr(OpsMessages::kZeroLength));
        return target.user.ExitStatus();
    }
    if (length > MemoryOps::kFileCap) {
        target.user.ShowNote(Tr(OpsMessages::kFileCapped));
        length = MemoryOps::kFileCap;
    }
    const auto unit = uint32_t(options.unit);
    const uint64_t first = *address & ~(unit - 1);
    const uint64_t end = std::min(ReadRules::kSpaceSize, (uint64_t(*address) + length + unit - 1) / unit * unit);
    const ReadRules rules(chip, map.LeftOutWords());
    MemoryBlock block;
    {
        LinkCycle cycle(target.config, target.links, target.userContext);
        block = MemoryRows::ReadCycle(cycle, rules, uint32_t(first), uint32_t(end - first));
    }
    if (target.user.Failed())
        return target.user.ExitStatus();
    if (options.json)
        CliWrite(QString::fromUtf8(MemoryText::Json(block, 16, options.unit, &map)));
    else
        for (const QString &line : MemoryText::Rows(block, 16, options.unit, &map))
            CliPrintLine(line);
    return target.user.ExitStatus();
}

const CliCommandRegistration kRegistration{
    {"dump", "ADDRESS LENGTH [--unit 1|2|4] [--format hex|json]",
     QT_TRANSLATE_NOOP("Corvane", "print memory as a memory window shows it: rows of 16 bytes, ASCII, register names"),
     Dump},
};

} // namespace
