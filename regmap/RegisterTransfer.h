#pragma once

#include "regmap/RegisterRow.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class ConfigFile;
class LinkCycle;
struct TargetLinks;
struct UserContext;

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
    // Words whose bits the user did not set are not known from the chip: the
    // write reads each first and sends the chip's bits there, the rows' in
    // `mask` (read-modify-write). A read that fails writes nothing.
    struct Merge
    {
        uint32_t offset = 0; // of the word, from the base
        uint32_t mask = 0;
    };
    std::vector<Merge> merges;
    // A register read the chip table refuses, or a register write that would
    // have to read a word it may not: the message; nothing is read or written.
    std::optional<QString> readRefusal;
    // A register write: the register's value in the rows when planned, and
    // what it showed before the edit the write was made for (an immediate
    // write puts that back when the write fails).
    uint64_t plannedValue = 0;
    struct Shown
    {
        uint64_t value = 0;
        uint32_t word = 0;
        ValueSource source;
    };
    std::optional<Shown> beforeEdit;

    // What the run found: whether a link was tried (the data source is one),
    // and whether the transfer went through.
    bool preface = false;
    bool succeeded = false;
    uint64_t readWord = 0;    // a register read: the words read
    uint64_t writtenWord = 0; // a register write: the words written

    // Runs the transfer's link cycle (any thread; messages go to `user`).
    void Run(const ConfigFile &config, TargetLinks &links, UserContext &user);
    // A peripheral read into its snapshot file on the open cycle; false once
    // the cycle has shown its message and closed.
    bool Capture(LinkCycle &cycle) const;
};
