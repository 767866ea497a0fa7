#pragma once

#include "regmap/RegisterRow.h"
#include "regmap/RegisterRowTree.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

// What a register window shows, as records for other programs: one record
// per register (its field columns empty), followed by one per field of it.
// Value rows repeat the register's value and are left out. The records are
// rendered from the rows' numbers and enumerated names, never from a text the
// user typed.
namespace RowExport {

// The value of a register never read (nor loaded, nor typed), and of its
// fields, in both formats: no number is made up for it.
inline constexpr char kNotRead[] = "not read";

struct Record
{
    QString peripheral;
    QString reg;
    QString address; // "0x%08X"
    QString value;   // the register's value, "0x%08X" (wider for 64 bits), or kNotRead
    QString field;
    QString bits;           // "[low]" or "[low-high]"
    QString fieldValue;     // the number as the grid writes it in its base, or kNotRead
    QString enumeratedName; // the name of the field's value, empty when none matches
};

// The rows for which `keep` holds (all when it is empty), in tree order.
std::vector<Record> Records(const RegisterRowTree &tree, const std::function<bool(const RegisterRow &)> &keep = {});

// One cell as the CSV below writes it: quoted where it holds a comma, a
// quote or a line break, quotes doubled, a formula's start after a '.
QString CsvField(const QString &cell);

// A header line, then one line per record; fields quoted where they hold a
// comma, a quote or a line break, quotes doubled; a field that begins with
// =, +, -, @, a tab or a carriage return gets a leading ' so a spreadsheet
// never runs it as a formula. UTF-8, lines end in "\n"; in both formats a
// lone surrogate is written as U+FFFD.
QByteArray Csv(const std::vector<Record> &records);
// An array of objects with the keys "peripheral", "register", "address",
// "value", "field", "bits", "fieldValue" and "enumeratedName".
QByteArray Json(const std::vector<Record> &records);

} // namespace RowExport
