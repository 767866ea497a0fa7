// Any bytes as an SVD file: load, parse, walk every element with its text,
// then the SVD walks over the same parse. Aborts when the tree is not a tree,
// an expansion passes its bound or a peripheral's addresses wrap round.
#include "regmap/SvdDeviceModel.h"
#include "regmap/SvdRegisterExpansion.h"
#include "xml/XmlDocument.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// Depth first over the cursor; every record must be reached exactly once.
void WalkEveryElement(XmlDocument &document)
{
    const std::int64_t textLength = document.Text().size();
    std::uint32_t visited = 0;
    document.Rewind();
    document.ElementText();
    for (;;) {
        if (document.FindElement(u"")) {
            const std::uint32_t index = document.Current();
            const XmlElementRecord &record = document.Record(index);
            const XmlDocument::TagLengths tags = document.TagLengthsOf(index);
            Check(record.parent == document.Parent());
            Check(record.start >= 0 && std::int64_t(record.start) + record.length <= textLength);
            Check(tags.startTag > 0 && tags.startTag + tags.endTag <= record.length);
            document.ElementText();
            document.TagName(index);
            ++visited;
            Check(visited < document.RecordCount());
            document.EnterElement();
        } else if (!document.LeaveElement()) {
            break;
        }
    }
    Check(visited + 1 == document.RecordCount());
}

// No address wraps round 2^32, and the span covers every register whole.
void CheckAddresses(const SvdPeripheral &peripheral)
{
    const std::uint64_t base = peripheral.baseAddress;
    Check(base + peripheral.span <= 0x100000000ull);
    for (const SvdRegister &reg : peripheral.registers) {
        Check(reg.address == base + reg.addressOffset);
        const std::uint64_t bytes = std::max<std::uint64_t>(4, (std::uint64_t(reg.size) + 7) / 8);
        Check(reg.addressOffset + bytes <= peripheral.span);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    XmlDocument document;
    document.LoadBytes(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    document.IsSound();
    Check(!document.ErrorText().isEmpty());
    WalkEveryElement(document);

    const QStringList names = SvdDeviceModel::ReadPeripheralNames(document);
    // A few peripherals suffice: an array of them lists up to 65536 names.
    for (const QString &name : names.mid(0, 64)) {
        // The expansion stays within its bound whatever the input asks for.
        const SvdPeripheralResult result = SvdDeviceModel::ReadPeripheral(document, name);
        Check(std::uint64_t(result.peripheral.registers.size()) <= SvdRegisterExpansion::kMaxElements);
        Check(result.outcome != SvdPeripheralResult::Outcome::Failed || !result.message.isEmpty());
        CheckAddresses(result.peripheral);
        // The walk that goes on past unreadable fields (the memory views') keeps the same bounds.
        const SvdPeripheralResult known = SvdDeviceModel::ReadPeripheralAsFarAsKnown(document, name);
        Check(std::uint64_t(known.peripheral.registers.size()) <= SvdRegisterExpansion::kMaxElements);
        for (const SvdPeripheralResult::UnknownFields &unknown : known.unknownFields)
            Check(unknown.reg >= 0 && unknown.reg < known.peripheral.registers.size() && !unknown.message.isEmpty());
        if (!known.partial)
            CheckAddresses(known.peripheral);
    }
    SvdDeviceModel::ReadPeripheral(document, u"\u0001not-a-peripheral");
    return 0;
}
