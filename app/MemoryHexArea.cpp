#include "app/MemoryHexArea.h"

#include "app/RegisterWindowTools.h"
#include "link/ChipProfile.h"
#include "memview/MemoryText.h"
#include "link/Tr.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kLeft = 4;            // pixels before the address column
constexpr int kAddressColumns = 10; // "XXXXXXXX: "

// What the window says about bytes it does not read.
namespace Text {
const char kLeftOut[] = QT_TRANSLATE_NOOP("Corvane", "读取会改变芯片状态：不读");
const char kUnknown[] = QT_TRANSLATE_NOOP("Corvane", "SVD 无法读取，读取是否改变芯片状态未知：不读\n%1");
const char kFailed[] = QT_TRANSLATE_NOOP("Corvane", "读取失败");
const char kUnread[] = QT_TRANSLATE_NOOP("Corvane", "读取中");
const char kRegisters[] = QT_TRANSLATE_NOOP("Corvane", "寄存器");
} // namespace Text

QColor Mix(const QColor &from, const QColor &to, double share)
{
    auto channel = [share](int a, int b) { return qRound(a + (b - a) * share); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()), channel(from.blue(), to.blue()));
}

QFont FixedFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QFont application = QApplication::font();
    if (application.pointSizeF() > 0)
        font.setPointSizeF(application.pointSizeF());
    return font;
}

} // namespace

MemoryHexArea::MemoryHexArea(MemoryView &view, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_view(view)
{
    setObjectName(QStringLiteral("hex"));
    setFont(FixedFont());
    UpdateMetrics();
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setMouseTracking(true);
}

QColor MemoryHexArea::MarkColour(const QPalette &palette)
{
    return Mix(palette.color(QPalette::Base), palette.color(QPalette::Text), 0.5);
}

QColor MemoryHexArea::PendingColour(const QPalette &palette)
{
    return Mix(palette.color(QPalette::Base), palette.color(QPalette::Text), 0.4);
}

void MemoryHexArea::SetAddressMap(std::shared_ptr<const ChipAddressMap> map)
{
    m_map = std::move(map);
    viewport()->update();
}

void MemoryHexArea::SetPending(uint32_t unitAddress, std::optional<uint32_t> value)
{
    if (value)
        m_pending[unitAddress] = *value;
    else
        m_pending.erase(unitAddress);
    viewport()->update();
}

void MemoryHexArea::SetMatch(std::optional<AddressRun> match)
{
    m_match = match;
    viewport()->update();
}

void MemoryHexArea::UpdateMetrics()
{
    // Kept: the drawing asks for them hundreds of times a paint.
    m_charWidth = QFontMetricsF(font()).horizontalAdvance(QLatin1Char('0'));
    m_rowHeight = QFontMetrics(font()).height() + 2;
}

double MemoryHexArea::ColumnX(int column) const
{
    return kLeft + CharWidth() * column - horizontalScrollBar()->value();
}

int MemoryHexArea::UnitColumn(int unitIndex) const
{
    return kAddressColumns + unitIndex * (2 * m_view.Unit() + 1);
}

int MemoryHexArea::AsciiColumn() const
{
    return UnitColumn(m_view.RowWidth() / m_view.Unit()) + 1;
}

int MemoryHexArea::MarginColumn() const
{
    return AsciiColumn() + m_view.RowWidth() + 2;
}

int MemoryHexArea::RowOf(uint32_t address) const
{
    if (!m_view.IsShown(address))
        return -1;
    return int((address - m_view.First()) / uint32_t(m_view.RowWidth()));
}

QRect MemoryHexArea::UnitRect(uint32_t unitAddress) const
{
    const int row = RowOf(unitAddress);
    if (row < 0)
        return QRect();
    const int index = int((unitAddress % uint32_t(m_view.RowWidth())) / uint32_t(m_view.Unit()));
    const double left = ColumnX(UnitColumn(index));
    const double right = ColumnX(UnitColumn(index) + 2 * m_view.Unit());
    return QRect(int(std::floor(left)), HeaderHeight() + row * RowHeight(), int(std::ceil(right - left)), RowHeight());
}

QRect MemoryHexArea::AsciiRect(uint32_t address) const
{
    const int row = RowOf(address);
    if (row < 0)
        return QRect();
    const int column = AsciiColumn() + int(address % uint32_t(m_view.RowWidth()));
    return QRect(int(std::floor(ColumnX(column))), HeaderHeight() + row * RowHeight(), int(std::ceil(CharWidth())),
                 RowHeight());
}

std::vector<MemoryHexArea::MarginEntry> MemoryHexArea::MarginEntries(int row) const
{
    std::vector<MarginEntry> entries;
    if (!m_map)
        return entries;
    const uint32_t rowAddress = m_view.First() + uint32_t(row) * uint32_t(m_view.RowWidth());
    const QFontMetricsF metrics(font());
    double x = ColumnX(MarginColumn());
    const double top = HeaderHeight() + row * RowHeight();
    for (const MemoryText::RowRegister &named :
         MemoryText::RowRegisters(*m_map, rowAddress, uint32_t(m_view.RowWidth()))) {
        const double width = metrics.horizontalAdvance(named.text);
        entries.push_back({QRectF(x, top, width, RowHeight()), named.reg, named.text});
        x += width + CharWidth();
    }
    return entries;
}

QRect MemoryHexArea::MarginNameRect(uint32_t registerAddress) const
{
    const int row = RowOf(registerAddress);
    if (row < 0)
        return QRect();
    for (const MarginEntry &entry : MarginEntries(row))
        if (entry.reg->address == registerAddress)
            return entry.rect.toAlignedRect();
    return QRect();
}

QString MemoryHexArea::MarginText(uint32_t registerAddress) const
{
    const int row = RowOf(registerAddress);
    if (row < 0)
        return QString();
    for (const MarginEntry &entry : MarginEntries(row))
        if (entry.reg->address == registerAddress)
            return entry.text;
    return QString();
}

void MemoryHexArea::ViewChanged()
{
    UpdateScrollBar();
    viewport()->update();
}

void MemoryHexArea::UpdateScrollBar()
{
    m_settingScrollBar = true;
    QScrollBar *bar = verticalScrollBar();
    const uint64_t last = std::min<uint64_t>(m_view.LastTopRow(), uint64_t(std::numeric_limits<int>::max()));
    bar->setRange(0, int(last));
    bar->setPageStep(m_view.RowsShown());
    bar->setSingleStep(1);
    bar->setValue(int(std::min<uint64_t>(m_view.TopRow(), last)));
    const int width = int(std::ceil(CharWidth() * (MarginColumn() + 24))) + kLeft;
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    m_settingScrollBar = false;
}

void MemoryHexArea::scrollContentsBy(int dx, int)
{
    if (dx != 0)
        viewport()->update();
    if (m_settingScrollBar)
        return;
    if (uint64_t(verticalScrollBar()->value()) != m_view.TopRow()) {
        m_view.ScrollToRow(verticalScrollBar()->value());
        viewport()->update();
        emit Scrolled();
    }
}

void MemoryHexArea::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const int rows = std::max(1, (viewport()->height() - HeaderHeight()) / RowHeight());
    if (rows != m_view.RowsShown()) {
        m_view.SetRowsShown(rows);
        emit Scrolled();
    }
    UpdateScrollBar();
}

void MemoryHexArea::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UpdateMetrics();
        m_view.SetRowsShown(std::max(1, (viewport()->height() - HeaderHeight()) / RowHeight()));
        UpdateScrollBar();
    }
}

void MemoryHexArea::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const QPalette &colours = palette();
    const QFont normal = font();
    QFont bold = normal;
    bold.setBold(true);
    const QFontMetricsF metrics(normal);
    const double baseline = 1 + metrics.ascent();
    const int rowHeight = RowHeight();
    const int unit = m_view.Unit();
    const int units = m_view.RowWidth() / unit;
    const double charWidth = CharWidth();
    const QColor text = colours.color(QPalette::Text);
    const QColor marks = MarkColour(colours);

    // The header: each unit's offset over it, from the same columns as the rows.
    painter.fillRect(QRect(0, 0, viewport()->width(), HeaderHeight()), colours.color(QPalette::AlternateBase));
    painter.setPen(marks);
    for (int k = 0; k < units; ++k) {
        const QString offset = MemoryUnits::Hex(uint32_t(k * unit), 1);
        painter.drawText(QPointF(ColumnX(UnitColumn(k) + 2 * unit - 2), baseline), offset);
    }
    QString asciiHeader;
    for (int k = 0; k < m_view.RowWidth(); ++k)
        asciiHeader += QString::number(k % 16, 16).toUpper();
    painter.drawText(QPointF(ColumnX(AsciiColumn()), baseline), asciiHeader);
    if (m_map && !m_map->IsEmpty())
        painter.drawText(QPointF(ColumnX(MarginColumn()), baseline), Tr(Text::kRegisters));

    const QColor highlight = colours.color(QPalette::Highlight);
    const QColor highlightedText = colours.color(QPalette::HighlightedText);
    const bool focused = hasFocus();
    const uint32_t cursor = m_view.Cursor();
    for (int row = 0; row < m_view.RowsShown(); ++row) {
        const uint64_t rowAddress64 = uint64_t(m_view.First()) + uint64_t(row) * uint64_t(m_view.RowWidth());
        if (rowAddress64 >= ReadRules::kSpaceSize || !m_view.IsShown(uint32_t(rowAddress64)))
            break;
        const auto rowAddress = uint32_t(rowAddress64);
        const double top = HeaderHeight() + row * rowHeight;
        const double y = top + baseline;
        painter.setFont(normal);

        // The address and the plain units go into one text per row; marked
        // and changed ones into texts of their own colour and weight, on the
        // same columns (the font is of fixed pitch). Each text costs a
        // shaping: the blank ones are not drawn.
        const int columns = UnitColumn(units);
        QString plain(columns, u' ');
        plain.replace(0, kAddressColumns - 1, MemoryUnits::Hex(rowAddress, 4) + u':');
        QString dim(columns, u' ');
        QString changed(columns, u' ');
        bool anyDim = false;
        bool anyChanged = false;
        struct Special
        {
            uint32_t address;
            QString text;
            QColor background;
            QColor foreground;
            bool bold;
            bool underline;
        };
        std::vector<Special> specials;
        for (int k = 0; k < units; ++k) {
            const uint32_t address = rowAddress + uint32_t(k * unit);
            const int column = UnitColumn(k);
            QString shown = m_view.UnitText(address);
            const bool editing = m_edit && m_edit->Address() == address;
            const auto pending = m_pending.find(address);
            if (editing)
                shown = m_edit->Text();
            else if (pending != m_pending.end())
                shown = MemoryUnits::Hex(pending->second, unit);
            const bool matched =
                m_match && address + uint32_t(unit) > m_match->first && uint64_t(address) < m_match->End();
            const double strength = m_view.UnitStrength(address);
            if (address == cursor || editing || matched || pending != m_pending.end()) {
                Special special{address, shown, QColor(), text, strength > 0, editing};
                if (address == cursor && focused) {
                    special.background = highlight;
                    special.foreground = highlightedText;
                } else if (address == cursor || matched) {
                    special.background = Mix(colours.color(QPalette::Base), highlight, 0.35);
                } else if (strength > 0) {
                    special.background = RegisterWindowTools::ChangedBackground(colours, strength);
                }
                if (pending != m_pending.end() && special.foreground == text)
                    special.foreground = PendingColour(colours);
                specials.push_back(special);
                continue;
            }
            if (strength > 0) {
                const QRect cell = UnitRect(address);
                painter.fillRect(cell, RegisterWindowTools::ChangedBackground(colours, strength));
                changed.replace(column, shown.size(), shown);
                anyChanged = true;
            } else if (m_view.UnitValue(address)) {
                plain.replace(column, shown.size(), shown);
            } else {
                dim.replace(column, shown.size(), shown);
                anyDim = true;
            }
        }
        const double rowX = ColumnX(0);
        painter.setPen(text);
        painter.drawText(QPointF(rowX, y), plain);
        if (anyDim) {
            painter.setPen(marks);
            painter.drawText(QPointF(rowX, y), dim);
        }
        painter.setFont(bold);
        painter.setPen(text);
        if (anyChanged)
            painter.drawText(QPointF(rowX, y), changed);
        for (const Special &special : specials) {
            const QRect cell = UnitRect(special.address).adjusted(-1, 0, 1, 0);
            if (special.background.isValid())
                painter.fillRect(cell, special.background);
            // The cursor is framed too: in some looks the selection's colour
            // is near the amber of a change.
            if (special.address == cursor) {
                painter.setPen(text);
                painter.drawRect(cell.adjusted(0, 0, -1, -1));
            }
            QFont font = special.bold ? bold : normal;
            font.setItalic(m_pending.count(special.address) > 0);
            painter.setFont(font);
            painter.setPen(special.foreground);
            painter.drawText(QPointF(cell.left() + 1, y), special.text);
            if (special.underline) {
                // The digit typed next.
                const double x = cell.left() + 1 + charWidth * m_edit->Typed();
                painter.fillRect(QRectF(x, top + rowHeight - 3, charWidth, 2), special.foreground);
            }
        }
        painter.setFont(normal);

        // The first byte of every register that begins in the row is ticked
        // above its digits; the names go into the margin.
        if (m_map) {
            painter.setPen(colours.color(QPalette::Link));
            const std::vector<MarginEntry> entries = MarginEntries(row);
            for (const MarginEntry &entry : entries) {
                const uint32_t offset = entry.reg->address - rowAddress;
                const int k = int(offset / uint32_t(unit));
                const double x = ColumnX(UnitColumn(k)) + charWidth * 2 * (unit - 1 - int(offset % uint32_t(unit)));
                painter.fillRect(QRectF(x, top, 2 * charWidth, 1.5), colours.color(QPalette::Link));
                painter.drawText(QPointF(entry.rect.left(), y), entry.text);
            }
        }

        // ASCII column, the cursor's bytes marked.
        QString ascii;
        for (int k = 0; k < m_view.RowWidth(); ++k)
            ascii += MemoryUnits::Ascii(m_view.Byte(rowAddress + uint32_t(k)), m_view.State(rowAddress + uint32_t(k)));
        if (cursor >= rowAddress && cursor - rowAddress < uint32_t(m_view.RowWidth())) {
            const QRect first = AsciiRect(cursor);
            painter.fillRect(QRectF(first.left(), top, charWidth * unit, rowHeight),
                             Mix(colours.color(QPalette::Base), highlight, 0.35));
        }
        painter.setPen(text);
        painter.drawText(QPointF(ColumnX(AsciiColumn()), y), ascii);
    }
}

void MemoryHexArea::Moved()
{
    CancelEdit();
    UpdateScrollBar();
    viewport()->update();
    emit CursorMoved();
    emit Scrolled();
}

void MemoryHexArea::CancelEdit()
{
    if (m_edit) {
        m_edit.reset();
        viewport()->update();
    }
}

void MemoryHexArea::Commit()
{
    if (!m_edit)
        return;
    const MemoryUnits::UnitEdit edit = *m_edit;
    m_edit.reset();
    viewport()->update();
    if (edit.Value() != edit.Before() || edit.Typed() > 0)
        emit WriteRequested(edit.Address(), edit.Size(), edit.Before(), edit.Value());
}

void MemoryHexArea::keyPressEvent(QKeyEvent *event)
{
    using Move = MemoryView::Move;
    static const std::pair<int, Move> kMoves[] = {
        {Qt::Key_Left, Move::Left},     {Qt::Key_Right, Move::Right},   {Qt::Key_Up, Move::Up},
        {Qt::Key_Down, Move::Down},     {Qt::Key_PageUp, Move::PageUp}, {Qt::Key_PageDown, Move::PageDown},
        {Qt::Key_Home, Move::RowStart}, {Qt::Key_End, Move::RowEnd},
    };
    if (event->matches(QKeySequence::Undo)) {
        CancelEdit();
        emit UndoRequested();
        return;
    }
    for (const auto &[key, move] : kMoves) {
        if (event->key() == key && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            m_view.MoveCursor(move);
            Moved();
            return;
        }
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        if (m_edit) {
            CancelEdit();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_edit) {
            Commit();
            return;
        }
        break;
    case Qt::Key_F5:
        emit RefreshRequested();
        return;
    default:
        break;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const QChar digit = typed.front();
        if (QStringLiteral("0123456789abcdefABCDEF").contains(digit)) {
            if (!m_edit) {
                const std::optional<uint32_t> value = m_view.UnitValue(m_view.Cursor());
                if (!value) {
                    QApplication::beep();
                    return;
                }
                m_edit.emplace(m_view.Cursor(), m_view.Unit(), *value);
            }
            m_edit->Type(digit);
            viewport()->update();
            if (m_edit->Complete()) {
                Commit();
                // On to the next unit, as typing goes on.
                m_view.MoveCursor(MemoryView::Move::Right);
                UpdateScrollBar();
                emit CursorMoved();
                emit Scrolled();
            }
            return;
        }
    }
    QAbstractScrollArea::keyPressEvent(event);
}

std::optional<uint32_t> MemoryHexArea::AddressAt(const QPoint &point) const
{
    const int row = (point.y() - HeaderHeight()) / RowHeight();
    if (point.y() < HeaderHeight() || row >= m_view.RowsShown())
        return std::nullopt;
    const uint64_t rowAddress = uint64_t(m_view.First()) + uint64_t(row) * uint64_t(m_view.RowWidth());
    if (rowAddress >= ReadRules::kSpaceSize)
        return std::nullopt;
    const double column = (point.x() - ColumnX(0)) / CharWidth();
    const int units = m_view.RowWidth() / m_view.Unit();
    for (int k = 0; k < units; ++k)
        if (column >= UnitColumn(k) - 0.5 && column < UnitColumn(k) + 2 * m_view.Unit() + 0.5)
            return uint32_t(rowAddress) + uint32_t(k * m_view.Unit());
    if (column >= AsciiColumn() && column < AsciiColumn() + m_view.RowWidth())
        return uint32_t(rowAddress) + uint32_t(column - AsciiColumn());
    return std::nullopt;
}

const ChipAddressMap::Register *MemoryHexArea::RegisterNamedAt(const QPoint &point) const
{
    const int row = (point.y() - HeaderHeight()) / RowHeight();
    if (point.y() < HeaderHeight() || row >= m_view.RowsShown())
        return nullptr;
    for (const MarginEntry &entry : MarginEntries(row))
        if (entry.rect.contains(point))
            return entry.reg;
    return nullptr;
}

void MemoryHexArea::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton) {
        if (const std::optional<uint32_t> address = AddressAt(event->position().toPoint())) {
            m_view.PlaceCursor(*address);
            Moved();
            return;
        }
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void MemoryHexArea::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_map)
        return QAbstractScrollArea::mouseDoubleClickEvent(event);
    const QPoint point = event->position().toPoint();
    const ChipAddressMap::Register *reg = RegisterNamedAt(point);
    if (!reg)
        if (const std::optional<uint32_t> address = AddressAt(point))
            reg = m_map->RegisterAt(*address);
    if (reg)
        emit PeripheralRequested(m_map->PeripheralOf(*reg).name);
}

QString MemoryHexArea::ToolTipAt(const QPoint &point) const
{
    if (const ChipAddressMap::Register *reg = RegisterNamedAt(point))
        return QStringLiteral("%1  0x%2\n%3").arg(reg->name, MemoryUnits::Hex(reg->address, 4), reg->description);
    const std::optional<uint32_t> address = AddressAt(point);
    if (!address)
        return QString();
    QString tip = QStringLiteral("0x") + MemoryUnits::Hex(*address, 4);
    if (m_map)
        if (const ChipAddressMap::Register *reg = m_map->RegisterAt(*address))
            tip += QStringLiteral("  ") + reg->name;
    switch (m_view.State(*address)) {
    case ByteState::Refused:
        tip += u'\n' + ChipProfile::CheckReadAddress(m_view.Rules().ChipModel(), *address).value_or(QString());
        break;
    case ByteState::LeftOut:
        if (const std::optional<QString> unknown = m_map ? m_map->UnknownAt(*address) : std::nullopt)
            tip += u'\n' + Tr(Text::kUnknown).arg(*unknown);
        else
            tip += u'\n' + Tr(Text::kLeftOut);
        break;
    case ByteState::Failed:
        tip += u'\n' + Tr(Text::kFailed);
        break;
    case ByteState::Unread:
    case ByteState::Reading:
        tip += u'\n' + Tr(Text::kUnread);
        break;
    case ByteState::Value:
        break;
    }
    return tip;
}

bool MemoryHexArea::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QString tip = ToolTipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}
