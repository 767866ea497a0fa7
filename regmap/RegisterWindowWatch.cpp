// Register windows: rows filled by a watch's refreshes.
#include "regmap/RegisterWindow.h"

#include "regmap/RowText.h"
#include "regmap/RowValues.h"

namespace {

// Whether the register's rows already show the word as filled values; a
// refresh then leaves them alone, so a view redraws only what changed.
bool AlreadyShows(const RegisterRow &reg, uint32_t word)
{
    if (RowText::CaptionValueIndex(reg.Name()) < 0 || RowText::CaptionValue(reg.Name()) != word)
        return false;
    for (const auto &child : reg.Children()) {
        const QString expected =
            child->RowKind() == RegisterRow::Kind::Value ? RowText::Word(word) : RowValues::FieldText(*child, word);
        if (child->Value() != expected || child->IsModified())
            return false;
    }
    return true;
}

} // namespace

bool RegisterWindow::FillPeripheral(const QString &name, const QByteArray &image)
{
    RegisterRow *peripheral = m_tree.FindTopRow(name);
    if (!peripheral)
        return false;
    for (const auto &reg : peripheral->Children()) {
        // A watch never reads these; the row keeps what it shows.
        if (reg->Traits().readHasSideEffect)
            continue;
        const uint32_t word = RowValues::ImageWord(image, RowValues::WordOffset(*reg));
        if (!AlreadyShows(*reg, word))
            FillRegister(reg.get(), word);
    }
    return true;
}
