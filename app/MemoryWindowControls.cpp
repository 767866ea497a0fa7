#include "app/MemoryWindowControls.h"

#include "app/MemoryHexArea.h"
#include "link/Tr.h"
#include "memview/MemoryUnits.h"
#include "regmap/RegisterWatch.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

namespace {

namespace Text {
const char kAddress[] = QT_TRANSLATE_NOOP("Corvane", "地址");
const char kBack[] = QT_TRANSLATE_NOOP("Corvane", "后退 (Alt+Left)");
const char kForward[] = QT_TRANSLATE_NOOP("Corvane", "前进 (Alt+Right)");
const char kUnit[] = QT_TRANSLATE_NOOP("Corvane", "%1位");
const char kRowWidth[] = QT_TRANSLATE_NOOP("Corvane", "%1 字节/行");
const char kWatch[] = QT_TRANSLATE_NOOP("Corvane", "监视");
const char kRate[] = QT_TRANSLATE_NOOP("Corvane", "%1 次/秒");
const char kFind[] = QT_TRANSLATE_NOOP("Corvane", "查找 (Ctrl+F)");
const char kBytes[] = QT_TRANSLATE_NOOP("Corvane", "字节序列");
const char kWord[] = QT_TRANSLATE_NOOP("Corvane", "32位值");
const char kFrom[] = QT_TRANSLATE_NOOP("Corvane", "从");
const char kLength[] = QT_TRANSLATE_NOOP("Corvane", "长度");
const char kCancel[] = QT_TRANSLATE_NOOP("Corvane", "取消");
} // namespace Text

template<typename T> T *Named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

MemoryWindowControls::MemoryWindowControls(QWidget *window, MemoryView &view)
{
    auto *lines = new QVBoxLayout(window);
    lines->setContentsMargins(2, 2, 2, 2);
    lines->setSpacing(2);
    auto *top = new QHBoxLayout;
    auto *findRow = new QHBoxLayout;
    auto *bottom = new QHBoxLayout;
    for (QHBoxLayout *row : {top, findRow, bottom})
        row->setSpacing(4);

    top->addWidget(new QLabel(Tr(Text::kAddress), window));
    address = Named(new QComboBox(window), "address");
    address->setEditable(true);
    address->setInsertPolicy(QComboBox::NoInsert);
    address->setMinimumContentsLength(14);
    address->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    top->addWidget(address, 1);
    back = Named(new QToolButton(window), "back");
    back->setArrowType(Qt::LeftArrow);
    back->setToolTip(Tr(Text::kBack));
    forward = Named(new QToolButton(window), "forward");
    forward->setArrowType(Qt::RightArrow);
    forward->setToolTip(Tr(Text::kForward));
    top->addWidget(back);
    top->addWidget(forward);
    unit = Named(new QComboBox(window), "unit");
    for (int size : MemoryUnits::kSizes)
        unit->addItem(Tr(Text::kUnit).arg(8 * size), size);
    unit->setCurrentIndex(unit->findData(view.Unit()));
    top->addWidget(unit);
    rowWidth = Named(new QComboBox(window), "rowWidth");
    for (int bytes : MemoryUnits::kRowWidths)
        rowWidth->addItem(Tr(Text::kRowWidth).arg(bytes), bytes);
    rowWidth->setCurrentIndex(rowWidth->findData(view.RowWidth()));
    top->addWidget(rowWidth);
    watch = Named(new QCheckBox(Tr(Text::kWatch), window), "watch");
    top->addWidget(watch);
    rate = Named(new QComboBox(window), "rate");
    for (int perSecond : RegisterWatch::kRates)
        rate->addItem(Tr(Text::kRate).arg(perSecond), perSecond);
    rate->setCurrentIndex(rate->findData(kDefaultRate));
    top->addWidget(rate);

    find = Named(new QLineEdit(window), "find");
    find->setPlaceholderText(Tr(Text::kFind));
    findRow->addWidget(find, 2);
    findKind = Named(new QComboBox(window), "findKind");
    findKind->addItems({Tr(Text::kBytes), Tr(Text::kWord)});
    findRow->addWidget(findKind);
    findRow->addWidget(new QLabel(Tr(Text::kFrom), window));
    rangeFirst = Named(new QLineEdit(window), "rangeFirst");
    findRow->addWidget(rangeFirst, 1);
    findRow->addWidget(new QLabel(Tr(Text::kLength), window));
    rangeLength = Named(new QLineEdit(window), "rangeLength");
    findRow->addWidget(rangeLength, 1);
    findButton = Named(new QPushButton(Tr(MemoryWindowText::kFindButton), window), "findNext");
    findRow->addWidget(findButton);
    save = Named(new QPushButton(Tr(MemoryWindowText::kSave), window), "save");
    findRow->addWidget(save);
    load = Named(new QPushButton(Tr(MemoryWindowText::kLoad), window), "load");
    findRow->addWidget(load);

    hex = new MemoryHexArea(view, window);

    status = Named(new QLabel(window), "status");
    status->setTextFormat(Qt::PlainText);
    message = Named(new QLabel(window), "message");
    message->setTextFormat(Qt::PlainText);
    progress = Named(new QProgressBar(window), "progress");
    progress->setRange(0, 1000);
    progress->setMaximumWidth(160);
    progress->hide();
    cancel = Named(new QPushButton(Tr(Text::kCancel), window), "cancel");
    cancel->hide();
    bottom->addWidget(status);
    bottom->addSpacing(3 * QFontMetrics(window->font()).horizontalAdvance(QLatin1Char('0')));
    bottom->addWidget(message, 1);
    bottom->addWidget(progress);
    bottom->addWidget(cancel);

    lines->addLayout(top);
    lines->addLayout(findRow);
    lines->addWidget(hex, 1);
    lines->addLayout(bottom);
    window->setFocusProxy(hex);
}

void MemoryWindowControls::ShowBusy(const QString &line, bool cancellable)
{
    message->setText(line);
    progress->setValue(0);
    progress->show();
    cancel->setVisible(cancellable);
    EnableActions(false);
}

void MemoryWindowControls::EndBusy(const QString &line)
{
    message->setText(line);
    progress->hide();
    cancel->hide();
}

void MemoryWindowControls::EnableActions(bool on)
{
    for (QPushButton *button : {findButton, save, load})
        button->setEnabled(on);
}
