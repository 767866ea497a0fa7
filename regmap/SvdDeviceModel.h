#pragma once

#include "regmap/SvdPeripheral.h"

#include <QString>
#include <QStringList>
#include <QStringView>

class XmlDocument;

// What a walk for one peripheral found.
struct SvdPeripheralResult
{
    enum class Outcome { Found, NotPresent, Failed };
    Outcome outcome = Outcome::NotPresent;
    SvdPeripheral peripheral; // filled when Found
    QString message;          // the failure message when Failed

    // Walks as far as the file can be read (ReadPeripheralAsFarAsKnown) only.
    // Registers whose fields cannot be read, so whether reading them changes
    // the chip is not known: kept without fields, with why.
    struct UnknownFields
    {
        int reg; // index into peripheral.registers
        QString message;
    };
    QList<UnknownFields> unknownFields;
    // Failed with the base address known: the peripheral holds its name, its
    // base address, the registers walked before the failure, and as span the
    // stretch those and its address blocks cover (kUnknownSpan when neither
    // says more than a word).
    bool partial = false;
    static constexpr std::uint32_t kUnknownSpan = 0x1000;
};

// The two walks over a chip's SVD file. Nothing is kept between calls: every
// call reads and parses the file anew. The overloads taking a loaded document
// let one operation share a single parse between several walks; they give the
// same results as loading the file for each.
namespace SvdDeviceModel {

// "<exeDir>/svd/<chip>.svd"
QString SvdFilePath(const QString &exeDir, const QString &chip);

// Names of all peripherals in document order; empty for a missing or broken file.
QStringList ReadPeripheralNames(const QString &path);
QStringList ReadPeripheralNames(XmlDocument &document);

// The first peripheral named exactly `name` (case-sensitive).
SvdPeripheralResult ReadPeripheral(const QString &path, QStringView name);
SvdPeripheralResult ReadPeripheral(XmlDocument &document, QStringView name);

// The same walk for views that must know which words never to read whatever
// the file holds: a register whose fields cannot be read does not fail the
// peripheral, and a failure keeps what was walked (see SvdPeripheralResult).
SvdPeripheralResult ReadPeripheralAsFarAsKnown(XmlDocument &document, QStringView name);

} // namespace SvdDeviceModel
