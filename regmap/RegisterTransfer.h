#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// One read or write of a register map's peripheral or register, taken apart
// so that its link cycle can run off the rows' thread: the map plans it from
// its rows (by value, on the rows' thread), the transfer runs the cycle and
// the snapshot files on any thread without touching a row, and the map
// finishes it by putting what was read into the rows (on the rows' thread).
struct RegisterTransfer
{
    enum class Kind { ReadPeripheral, ReadRegister, WritePeripheral, WriteRegister };
    Kind kind = Kind::ReadPeripheral;
    QString peripheral; // the peripheral's name
    uint64_t rowId = 0; // the row read or written
    bool shown = false; // the map shows the peripheral: its base and span are known
    uint32_t base = 0;
    uint32_t span = 0;
    // The peripheral does not fit the transfer buffer: the refusal, by name.
    std::optional<QString> refusal;
    std::vector<bool> leftOut; // words a whole read leaves out
    // Registers: the word the register lies in, and the bytes of its words
    // from there (8 for a 64-bit register).
    uint32_t wordAddress = 0;
    uint32_t wordOffset = 0;
    uint32_t wordBytes = 4;
    // The snapshot file the transfer goes through: the default one for a
    // read, the temporary one for a write; unusable for a name that is no
    // plain file name.
    QString snapshotPath;
    bool snapshotUsable = false;
    // Writes: the image of the rows (span bytes), and which of its words a
    // register covers; the others go out as the transfer buffer holds them.
    QByteArray image;
    std::vector<bool> coveredWords;

    // What the run found: whether a link was tried (the data source is one),
    // and whether the transfer went through.
    bool preface = false;
    bool succeeded = false;
    uint64_t readWord = 0; // a register read: the words read
};
