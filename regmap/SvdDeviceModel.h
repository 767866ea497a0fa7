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

} // namespace SvdDeviceModel
