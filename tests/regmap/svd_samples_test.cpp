// The sample vendor SVD files read whole: every peripheral without a message,
// and register and field counts of a few peripherals per file as counted by
// hand from the files (arrays and clusters expanded, derived peripherals
// taking their base's registers).
#include "SvdDescribe.h"
#include "regmap/SvdDeviceModel.h"
#include "regmap/SvdText.h"
#include "support/BuildPaths.h"
#include "xml/XmlDocument.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

struct Counts
{
    const char16_t *peripheral;
    qsizetype registers;
    qsizetype fields;
};

struct SampleFile
{
    const char *file;
    qsizetype peripherals;
    qsizetype withoutRegisters; // peripherals that have no registers element, nor a base
    std::vector<Counts> counts;
};

qsizetype FieldCount(const SvdPeripheral &peripheral)
{
    qsizetype fields = 0;
    for (const SvdRegister &reg : peripheral.registers)
        fields += reg.fields.size();
    return fields;
}

} // namespace

TEST(SvdSamples, EveryPeripheralReadsAndCountsAgree)
{
    const QDir folder(SvdSamplesDir());
    if (!folder.exists())
        GTEST_SKIP() << "no sample SVD folder at " << folder.path().toStdString();
    const SampleFile samples[] = {
        {"ARMCM33.svd", 1, 0, {{u"SAU", 5, 8}}},
        {"ARM_Example.svd", 3, 0, {{u"TIMER0", 11, 20}, {u"TIMER2", 11, 20}}},
        {"ATSAML11E16A.svd", 56, 1, {{u"DMAC", 23, 97}, {u"PORT", 65, 196}, {u"TC0", 57, 192}, {u"TC2", 57, 192}}},
        {"nrf9160.svd",
         107,
         0,
         {{u"GPIOTE0_S", 76, 149}, {u"GPIOTE1_NS", 76, 149}, {u"UARTE0_S", 50, 106}, {u"P0_S", 42, 418}}},
        {"nrf5340_application.svd",
         141,
         0,
         {{u"DPPIC_S", 33, 324}, {u"UARTE0_S", 50, 111}, {u"SPU_S", 410, 2318}, {u"TIMER2_NS", 53, 96}}},
        {"STM32L552.svd",
         146,
         0,
         {{u"DMA1", 43, 247}, {u"DMA2", 43, 247}, {u"GPIOA", 12, 193}, {u"SEC_GPIOA", 12, 193}}},
        {"AT91SAM9G35.svd", 43, 1, {{u"PIOA", 51, 1485}, {u"ADC", 35, 196}, {u"SMC", 34, 126}}},
    };
    for (const SampleFile &sample : samples) {
        SCOPED_TRACE(sample.file);
        XmlDocument document;
        ASSERT_TRUE(document.LoadFile(folder.filePath(QLatin1StringView(sample.file))));
        const QStringList names = SvdDeviceModel::ReadPeripheralNames(document);
        EXPECT_EQ(names.size(), sample.peripherals);
        qsizetype empty = 0;
        for (const QString &name : names) {
            const SvdPeripheralResult result = SvdDeviceModel::ReadPeripheral(document, name);
            EXPECT_EQ(result.outcome, SvdPeripheralResult::Outcome::Found)
                << name.toStdString() << ": " << result.message.toStdString();
            empty += result.peripheral.registers.isEmpty() ? 1 : 0;
            for (const SvdRegister &reg : result.peripheral.registers)
                EXPECT_FALSE(reg.name.contains(u"%s")) << name.toStdString() << " " << reg.name.toStdString();
        }
        EXPECT_EQ(empty, sample.withoutRegisters); // derived peripherals have their base's registers
        for (const Counts &counts : sample.counts) {
            SCOPED_TRACE(QString::fromUtf16(counts.peripheral).toStdString());
            const SvdPeripheralResult result = SvdDeviceModel::ReadPeripheral(document, counts.peripheral);
            ASSERT_EQ(result.outcome, SvdPeripheralResult::Outcome::Found);
            EXPECT_EQ(result.peripheral.registers.size(), counts.registers);
            EXPECT_EQ(FieldCount(result.peripheral), counts.fields);
        }
    }
}

// Vendors write enumerated values in every form the schema allows, "0b001"
// among them: every value of every sample file reads as a number, so no
// field loses its names.
TEST(SvdSamples, EveryEnumeratedValueOfEveryFileReads)
{
    const QDir folder(SvdSamplesDir());
    if (!folder.exists())
        GTEST_SKIP() << "no sample SVD folder at " << folder.path().toStdString();
    const QStringList files = folder.entryList({QStringLiteral("*.svd")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    qsizetype values = 0;
    for (const QString &file : files) {
        SCOPED_TRACE(file.toStdString());
        XmlDocument document;
        ASSERT_TRUE(document.LoadFile(folder.filePath(file)));
        for (const QString &text : EnumeratedValueTexts(document)) {
            ++values;
            EXPECT_TRUE(SvdText::ReadSvdNumber(text, SvdText::NumberForm::EnumeratedValue)) << text.toStdString();
        }
    }
    EXPECT_GT(values, 0);
}
