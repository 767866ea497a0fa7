#include "app/RegisterRowModel.h"

#include "regmap/PeripheralImage.h"
#include "app/Looks.h"
#include "regmap/RowBits.h"
#include "regmap/RowText.h"
#include "link/Tr.h"

#include <QApplication>
#include <QBrush>
#include <QFont>

namespace {

// What the window shows and says of its values.
namespace Text {
const char *const kNotRead = RowText::kNotRead;
const char kRefused[] = "--"; // the chip table refuses to read it, as the memory window draws it
const char kNeverRead[] = QT_TRANSLATE_NOOP("Corvane", "未读取");
const char kReadAt[] = QT_TRANSLATE_NOOP("Corvane", "读取于 %1");
const char kLoadedFrom[] = QT_TRANSLATE_NOOP("Corvane", "载入自 %1\n文件时间 %2");
const char kEdited[] = QT_TRANSLATE_NOOP("Corvane", "已修改，未读取");
const char kStale[] = QT_TRANSLATE_NOOP("Corvane", "\n读取失败：显示的是旧值");
const char kPending[] = QT_TRANSLATE_NOOP("Corvane", "\n已修改，未写入；芯片上的值 %1");
const char kPendingNeverRead[] = QT_TRANSLATE_NOOP("Corvane", "\n已修改，未写入；芯片上的值未读取");
const char *const kColumns[] = {"",
                                "",
                                QT_TRANSLATE_NOOP("Corvane", "Address"),
                                QT_TRANSLATE_NOOP("Corvane", "Offset"),
                                QT_TRANSLATE_NOOP("Corvane", "Bits"),
                                QT_TRANSLATE_NOOP("Corvane", "Access"),
                                QT_TRANSLATE_NOOP("Corvane", "Reset"),
                                QT_TRANSLATE_NOOP("Corvane", "Description")};
} // namespace Text

// Why the chip table refuses to read the row's register, or nothing.
std::optional<QString> ReadRefusal(const RegisterRow &row)
{
    if (row.RowKind() == RegisterRow::Kind::Peripheral)
        return std::nullopt;
    return PeripheralImage::ReadRefusal(row.RowKind() == RegisterRow::Kind::Register ? row : *row.Parent());
}

QString NumberText(uint64_t number, bool hex, uint32_t hexBits)
{
    return hex ? RowText::SizedWord(number, hexBits) : QString::number(number);
}

const QColor kOldValue(128, 128, 128);

// The register whose word a row shows: itself, or the one above a value or
// field row.
const RegisterRow *RegisterOf(const RegisterRow &row)
{
    switch (row.RowKind()) {
    case RegisterRow::Kind::Register:
        return &row;
    case RegisterRow::Kind::Value:
    case RegisterRow::Kind::Field:
        return row.Parent();
    case RegisterRow::Kind::Peripheral:
        break;
    }
    return nullptr;
}

// A field's number within a register's word.
uint64_t FieldOf(const RegisterRow &field, uint64_t word)
{
    return FieldSpan::Of(field.Traits()).ValueIn(word);
}

} // namespace

RegisterRowModel::RegisterRowModel(const RegisterRowTree &tree, QObject *parent)
    : PropertyModel(parent)
    , m_tree(tree)
{}

QString RegisterRowModel::ValueText(const RegisterRow &row, bool hex, bool forEditing)
{
    if (row.RowKind() == RegisterRow::Kind::Peripheral)
        return QString();
    if (!forEditing && row.Source().kind == ValueSource::Kind::NotRead && !row.IsModified())
        return Tr(ReadRefusal(row) ? Text::kRefused : Text::kNotRead);
    switch (row.RowKind()) {
    case RegisterRow::Kind::Register:
        return NumberText(row.Number(), hex, row.Traits().bits);
    case RegisterRow::Kind::Value:
        return NumberText(row.Number(), hex, row.Parent()->Traits().bits);
    case RegisterRow::Kind::Field: {
        // Written as an export writes it, the name after it.
        return RowText::FieldNumber(row.Number(), row.Traits().width, hex) +
               RowText::EnumSuffix(row.Number(), row.Traits().choices);
    }
    case RegisterRow::Kind::Peripheral:
        break;
    }
    return QString();
}

void RegisterRowModel::MarkPending(const RegisterRow &reg, std::optional<uint64_t> chipWord)
{
    m_pending.insert(reg.Id(), chipWord);
    RowChanged(reg);
}

void RegisterRowModel::ClearPending(const RegisterRow &reg)
{
    if (m_pending.remove(reg.Id()))
        RowChanged(reg);
}

bool RegisterRowModel::IsPending(const RegisterRow &row) const
{
    const RegisterRow *reg = RegisterOf(row);
    const auto pending = reg ? m_pending.constFind(reg->Id()) : m_pending.constEnd();
    // A fill from the chip or a file since the edit took its place.
    if (pending == m_pending.constEnd() || reg->Source().kind != ValueSource::Kind::Edited)
        return false;
    // Of the fields, those that differ from the chip (all, when it was never read).
    if (row.RowKind() == RegisterRow::Kind::Field && *pending)
        return FieldOf(row, **pending) != row.Number();
    return true;
}

const RegisterRow *RegisterRowModel::RowAt(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<const RegisterRow *>(index.internalPointer()) : nullptr;
}

QModelIndex RegisterRowModel::IndexOfRow(const RegisterRow *row, int column) const
{
    return row ? createIndex(row->Index(), column, const_cast<RegisterRow *>(row)) : QModelIndex();
}

QModelIndex RegisterRowModel::IndexOf(uint64_t id, int column) const
{
    return IndexOfRow(m_tree.FindById(id), column);
}

QModelIndex RegisterRowModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column < 0 || column >= ColumnCount)
        return QModelIndex();
    if (const RegisterRow *above = RowAt(parent))
        return std::size_t(row) < above->ChildCount() ? IndexOfRow(above->Child(std::size_t(row)), column)
                                                      : QModelIndex();
    return std::size_t(row) < m_tree.TopRowCount() ? IndexOfRow(m_tree.TopRow(std::size_t(row)), column)
                                                   : QModelIndex();
}

QModelIndex RegisterRowModel::parent(const QModelIndex &index) const
{
    const RegisterRow *row = RowAt(index);
    return row ? IndexOfRow(row->Parent(), 0) : QModelIndex();
}

int RegisterRowModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    const RegisterRow *row = RowAt(parent);
    return int(row ? row->ChildCount() : m_tree.TopRowCount());
}

int RegisterRowModel::columnCount(const QModelIndex &) const
{
    return ColumnCount;
}

QString RegisterRowModel::SourceText(const RegisterRow &row) const
{
    const ValueSource &source = row.Source();
    QString text;
    switch (source.kind) {
    case ValueSource::Kind::NotRead:
        text = Tr(Text::kNeverRead);
        break;
    case ValueSource::Kind::Chip:
        text = Tr(Text::kReadAt).arg(source.time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
        break;
    case ValueSource::Kind::File:
        text = Tr(Text::kLoadedFrom).arg(source.file, source.time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
        break;
    case ValueSource::Kind::Edited:
        text = Tr(Text::kEdited);
        break;
    }
    if (source.stale)
        text += Tr(Text::kStale);
    return text;
}

QString RegisterRowModel::ColumnText(const RegisterRow &row, int column) const
{
    const RegisterRowTraits &traits = row.Traits();
    const RegisterRow::Kind kind = row.RowKind();
    const bool reg = kind == RegisterRow::Kind::Register;
    switch (column) {
    case Name:
        return row.BareName();
    case Value:
        return ValueText(row, m_tree.HexBase());
    case Address:
        return reg                                     ? RowText::Word(traits.address)
               : kind == RegisterRow::Kind::Peripheral ? RowText::Word(traits.base)
                                                       : QString();
    case Offset:
        return reg ? QString::asprintf("0x%X", traits.offset) : QString();
    case Bits:
        return reg ? QString::number(traits.bits) : kind == RegisterRow::Kind::Field ? row.FieldBitsText() : QString();
    case Access:
        return reg || kind == RegisterRow::Kind::Field ? traits.access : QString();
    case Reset:
        return reg && traits.resetValue ? RowText::SizedWord(*traits.resetValue, traits.bits) : QString();
    case Description:
        return kind == RegisterRow::Kind::Value ? QString() : row.SvdDescription().simplified();
    default:
        return QString();
    }
}

QVariant RegisterRowModel::data(const QModelIndex &index, int role) const
{
    const RegisterRow *row = RowAt(index);
    if (!row)
        return QVariant();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return ColumnText(*row, column);
    case Qt::EditRole:
        // The editor starts from the number shown; empty for a value never
        // read, so that leaving the editor writes no invented zero.
        if (column != Value)
            return ColumnText(*row, column);
        if (row->Source().kind == ValueSource::Kind::NotRead && !row->EditedRow()->IsModified())
            return QString();
        return ValueText(*row, m_tree.HexBase(), true);
    case IdRole:
        return QVariant::fromValue<qulonglong>(row->Id());
    case EditableRole:
        return row->EditedRow()->IsEditable();
    case DescriptionRole:
        return row->Description();
    case ExpandedRole:
        return row->IsExpanded();
    case ElideRole:
        // An array or cluster element keeps its indices: "SET[0].W…[3]" is
        // told from its neighbours, "SET[0].WAY[0]…" is not.
        if (column == Name && row->BareName().contains(u'['))
            return int(Qt::ElideMiddle);
        return QVariant();
    case ToggleRole:
        // Hexadecimal by its prefix, so it reads the same in either base.
        if (row->RowKind() == RegisterRow::Kind::Field && row->Traits().width == 1 && row->IsEditable())
            return row->Number() ? QStringLiteral("0x0") : QStringLiteral("0x1");
        return QString();
    case ChoicesRole: {
        QList<PropertyChoice> choices;
        for (const SvdEnumValue &choice : row->Traits().choices)
            choices.append({choice.value,
                            m_tree.HexBase() ? QString::asprintf("0x%X", choice.value) : QString::number(choice.value),
                            choice.name});
        return QVariant::fromValue(choices);
    }
    case Qt::ForegroundRole:
        if (column == Value && IsPending(*row))
            return QBrush(Looks::PendingEditColour(QApplication::palette("QAbstractItemView")));
        if (column == Value && (row->Source().kind == ValueSource::Kind::NotRead || row->Source().stale) &&
            !row->IsModified())
            return QBrush(kOldValue);
        return QVariant();
    case Qt::FontRole: {
        QVariant marked = MarkData(row->Id(), column, role,
                                   (row->IsEditable() && row->IsModified()) || (column == Value && IsPending(*row)));
        // A value loaded from a file is told from one read from the chip.
        if (column == Value && row->Source().kind == ValueSource::Kind::File) {
            QFont font = marked.isValid() ? marked.value<QFont>() : QFont();
            font.setItalic(true);
            return font;
        }
        return marked;
    }
    case Qt::ToolTipRole: {
        if (column != Value || row->RowKind() == RegisterRow::Kind::Peripheral)
            return QVariant();
        QString tip = SourceText(*row);
        if (const std::optional<QString> refusal = ReadRefusal(*row))
            tip += u'\n' + *refusal;
        if (IsPending(*row)) {
            const std::optional<uint64_t> chip = m_pending.value(RegisterOf(*row)->Id());
            if (!chip)
                tip += Tr(Text::kPendingNeverRead);
            else if (row->RowKind() == RegisterRow::Kind::Field)
                tip += Tr(Text::kPending)
                           .arg(m_tree.HexBase()
                                    ? QStringLiteral("0x") + QString::number(FieldOf(*row, *chip), 16).toUpper()
                                    : QString::number(FieldOf(*row, *chip)));
            else
                tip += Tr(Text::kPending).arg(NumberText(*chip, m_tree.HexBase(), RegisterOf(*row)->Traits().bits));
        }
        const QString note = Marks(row->Id()).note;
        if (!note.isEmpty())
            tip += u'\n' + note;
        return tip;
    }
    case Qt::BackgroundRole:
        return MarkData(row->Id(), column, role, false);
    case NoteRole:
    case NoteColourRole:
        return column == Value ? MarkData(row->Id(), column, role, false) : QVariant();
    default:
        return QVariant();
    }
}

QVariant RegisterRowModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QVariant();
    return section < Address ? Title(section) : Tr(Text::kColumns[section]);
}

Qt::ItemFlags RegisterRowModel::flags(const QModelIndex &index) const
{
    const RegisterRow *row = RowAt(index);
    if (!row)
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == Value && row->EditedRow()->IsEditable())
        flags |= Qt::ItemIsEditable;
    return flags;
}

void RegisterRowModel::RowsClearing()
{
    beginResetModel();
}

void RegisterRowModel::RowsCleared()
{
    // A reset may keep rows (a new base, an expand level): their marks stay.
    const auto gone = [this](uint64_t id) { return m_tree.FindById(id) == nullptr; };
    m_pending.removeIf([&gone](const auto &entry) { return gone(entry.key()); });
    ForgetMarksOf(gone);
    endResetModel();
}

void RegisterRowModel::TopRowAppended(const RegisterRow &row)
{
    // The tree has the row already; nothing asks the model between the two calls.
    beginInsertRows(QModelIndex(), row.Index(), row.Index());
    endInsertRows();
}

void RegisterRowModel::TopRowRemoving(const RegisterRow &row)
{
    beginRemoveRows(QModelIndex(), row.Index(), row.Index());
}

void RegisterRowModel::TopRowRemoved()
{
    endRemoveRows();
}

void RegisterRowModel::RowChanged(const RegisterRow &row)
{
    if (m_tree.FindById(row.Id()) != &row)
        return;
    emit dataChanged(IndexOfRow(&row, 0), IndexOfRow(&row, ColumnCount - 1));
    // Value and field rows draw their register's source.
    if (row.RowKind() == RegisterRow::Kind::Register && row.ChildCount() > 0)
        emit dataChanged(IndexOfRow(row.Child(0), Value), IndexOfRow(row.Child(row.ChildCount() - 1), Value));
}

void RegisterRowModel::HeaderTitlesChanged()
{
    SetTitles(m_tree.LeftTitle(), m_tree.RightTitle());
}

void RegisterRowModel::NumberBaseChanged()
{
    emit layoutAboutToBeChanged();
    emit layoutChanged();
}
