#include "app/RegisterWindowTools.h"

#include "app/AppMessages.h"
#include "app/ValuePlotPane.h"
#include "app/Workspace.h"
#include "regmap/RegisterWindow.h"
#include "regmap/RowExport.h"
#include "regmap/RowFilter.h"
#include "regmap/SnapshotFiles.h"
#include "widgets/PropertyGrid.h"
#include "link/Tr.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>
#include <QShortcut>
#include <QTreeView>

#include <functional>

namespace {

// What the tool row shows and says.
namespace Text {
const char kWatch[] = QT_TRANSLATE_NOOP("Corvane", "监视");
const char kRate[] = QT_TRANSLATE_NOOP("Corvane", "%1 次/秒");
const char kFind[] = QT_TRANSLATE_NOOP("Corvane", "查找 (Ctrl+F)");
const char kChangesOnly[] = QT_TRANSLATE_NOOP("Corvane", "只看变化");
const char kCompare[] = QT_TRANSLATE_NOOP("Corvane", "比较");
const char kWithSaved[] = QT_TRANSLATE_NOOP("Corvane", "与保存的数据比较");
const char kWithFolder[] = QT_TRANSLATE_NOOP("Corvane", "与文件夹中的数据比较...");
const char kWithWindow[] = QT_TRANSLATE_NOOP("Corvane", "与 %1 比较");
const char kEndComparison[] = QT_TRANSLATE_NOOP("Corvane", "结束比较");
const char kExport[] = QT_TRANSLATE_NOOP("Corvane", "导出");
const char kCsv[] = "CSV...";
const char kJson[] = "JSON...";
const char kFolderTitle[] = QT_TRANSLATE_NOOP("Corvane", "选择数据文件夹");
const char kExportTitle[] = QT_TRANSLATE_NOOP("Corvane", "导出寄存器");
const char kCsvFilter[] = QT_TRANSLATE_NOOP("Corvane", "CSV Files(*.csv)");
const char kJsonFilter[] = QT_TRANSLATE_NOOP("Corvane", "JSON Files(*.json)");
const char kOtherValue[] = "≠ %1";
const char kNotInFile[] = QT_TRANSLATE_NOOP("Corvane", "not in file");
} // namespace Text

constexpr int kDefaultRate = 5;
constexpr int kMargin = 2;
constexpr int kSpacing = 4;
constexpr int kFindBoxWidth = 140; // the least the find box needs beside the other controls
constexpr int kWideEnough = 1 << 16;
constexpr int kFadeStepMs = 300; // a stopped watch's marks go within about a second

QColor Mix(const QColor &from, const QColor &to, double share)
{
    auto channel = [share](int a, int b) { return qRound(a + (b - a) * share); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()), channel(from.blue(), to.blue()));
}

void Walk(const RegisterRow &row, const std::function<void(const RegisterRow &)> &visit)
{
    visit(row);
    for (const auto &child : row.Children())
        Walk(*child, visit);
}

} // namespace

RegisterWindowTools::RegisterWindowTools(Workspace &workspace, RegisterWindowParts window, ValuePlotPane &plot)
    : QWidget(window.window)
    , m_workspace(workspace)
    , m_view(std::move(window))
    , m_plot(plot)
    , m_watch(*m_view.Logic(), workspace.Config(), workspace.Links(), workspace.Context())
{
    setObjectName(QStringLiteral("tools"));
    m_clock.start();
    auto *lines = new QVBoxLayout(this);
    lines->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    lines->setSpacing(2);
    m_top = new QHBoxLayout;
    m_bottom = new QHBoxLayout;
    m_top->setSpacing(kSpacing);
    m_bottom->setSpacing(kSpacing);
    m_third = new QHBoxLayout;
    m_third->setSpacing(kSpacing);
    lines->addLayout(m_top);
    lines->addLayout(m_bottom);
    lines->addLayout(m_third);
    m_watchBox = new QCheckBox(Tr(Text::kWatch), this);
    m_watchBox->setObjectName(QStringLiteral("watch"));
    m_rate = new QComboBox(this);
    m_rate->setObjectName(QStringLiteral("rate"));
    for (int rate : RegisterWatch::kRates)
        m_rate->addItem(Tr(Text::kRate).arg(rate), rate);
    m_rate->setCurrentIndex(m_rate->findData(kDefaultRate));
    m_find = new QLineEdit(this);
    m_find->setObjectName(QStringLiteral("find"));
    m_find->setPlaceholderText(Tr(Text::kFind));
    m_find->setClearButtonEnabled(true);
    m_find->installEventFilter(this);
    m_changesOnly = new QCheckBox(Tr(Text::kChangesOnly), this);
    m_changesOnly->setObjectName(QStringLiteral("changesOnly"));
    m_compare = new QPushButton(Tr(Text::kCompare), this);
    m_compare->setObjectName(QStringLiteral("compare"));
    m_export = new QPushButton(Tr(Text::kExport), this);
    m_export->setObjectName(QStringLiteral("export"));
    m_rate->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // The rate keeps its whole text in a narrow window: the find box gives way.
    m_rate->setSizePolicy(QSizePolicy::Fixed, m_rate->sizePolicy().verticalPolicy());
    HeightFor(kWideEnough);

    connect(m_watchBox, &QCheckBox::toggled, this, [this](bool on) { StartOrStopWatch(on); });
    connect(m_rate, &QComboBox::currentIndexChanged, this, [this] {
        if (m_watch.IsRunning())
            RowsReshaped(); // the same peripherals at the new rate
    });
    connect(m_find, &QLineEdit::textChanged, this, [this] { Redraw(); });
    connect(m_changesOnly, &QCheckBox::toggled, this, [this] { Redraw(); });
    connect(m_compare, &QPushButton::clicked, this, [this] { ShowCompareMenu(); });
    connect(m_export, &QPushButton::clicked, this, [this] { ShowExportMenu(); });
    auto *find = new QShortcut(QKeySequence::Find, m_view.window, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, this, [this] { FocusFind(); });

    m_fade = new QTimer(this);
    m_fade->setInterval(kFadeStepMs);
    connect(m_fade, &QTimer::timeout, this, [this] {
        if (!m_watch.FadeChanges())
            m_fade->stop();
        Redraw();
    });
    m_watch.onRefreshed = [this] { Refreshed(); };
    m_watch.onStopped = [this] {
        if (m_restarting)
            return;
        const QSignalBlocker quiet(m_watchBox);
        m_watchBox->setChecked(false);
        // Marks of a watch no longer running would tell of changes it no
        // longer sees.
        m_fade->start();
    };
}

RegisterWindowTools::~RegisterWindowTools()
{
    m_watch.onRefreshed = {};
    m_watch.onStopped = {};
    m_watch.Stop();
}

int RegisterWindowTools::Rate() const
{
    return m_rate->currentData().toInt();
}

bool RegisterWindowTools::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_find && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        m_find->clear();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void RegisterWindowTools::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // A new look: the marks are mixed from the grid's colours.
    if (event->type() == QEvent::PaletteChange)
        Redraw();
}

int RegisterWindowTools::HeightFor(int width)
{
    const QList<QWidget *> row{m_watchBox, m_rate, m_changesOnly, m_compare, m_export};
    int oneLine = 2 * kMargin + 5 * kSpacing + kFindBoxWidth;
    for (QWidget *control : row)
        oneLine += control->sizeHint().width();
    const int secondLine = 2 * kMargin + 2 * kSpacing + m_changesOnly->sizeHint().width() +
                           m_compare->sizeHint().width() + m_export->sizeHint().width();
    const int lines = width >= oneLine ? 1 : width >= secondLine ? 2 : 3;
    if (lines != m_lines) {
        m_lines = lines;
        for (QWidget *control : row + QList<QWidget *>{m_find}) {
            m_top->removeWidget(control);
            m_bottom->removeWidget(control);
            m_third->removeWidget(control);
        }
        for (QHBoxLayout *line : {m_top, m_bottom, m_third})
            while (QLayoutItem *spacer = line->takeAt(0))
                delete spacer;
        m_top->addWidget(m_watchBox);
        m_top->addWidget(m_rate);
        QHBoxLayout *rest = lines == 1 ? m_top : m_bottom;
        // Narrower still, the buttons take a third line and the find box
        // goes beside "changes only", leaving the first line's texts whole.
        if (lines == 3) {
            m_top->addStretch(1);
            rest->addWidget(m_changesOnly);
            rest->addWidget(m_find, 1);
        } else {
            m_top->addWidget(m_find, 1);
            rest->addWidget(m_changesOnly);
        }
        QHBoxLayout *buttons = lines == 3 ? m_third : rest;
        buttons->addWidget(m_compare);
        buttons->addWidget(m_export);
        // The lines below the first keep their controls to the left.
        if (lines == 2)
            m_bottom->addStretch(1);
        if (lines == 3)
            m_third->addStretch(1);
        layout()->invalidate(); // its size hint is cached apart from its lines'
    }
    return sizeHint().height();
}

void RegisterWindowTools::FocusFind()
{
    m_find->setFocus(Qt::ShortcutFocusReason);
    m_find->selectAll();
}

void RegisterWindowTools::StartOrStopWatch(bool on)
{
    if (!on) {
        m_watch.Stop();
        return;
    }
    m_fade->stop();
    if (!m_watch.Start(Rate())) {
        const QSignalBlocker quiet(m_watchBox);
        m_watchBox->setChecked(false);
    }
}

void RegisterWindowTools::RowsReshaped()
{
    if (m_watch.IsRunning()) {
        m_restarting = true;
        m_watch.Stop();
        m_restarting = false;
        StartOrStopWatch(true);
    }
    Redraw();
}

void RegisterWindowTools::RowsChanged()
{
    if (m_source == Source::None || m_redrawPosted)
        return;
    m_redrawPosted = true;
    QTimer::singleShot(0, this, [this] {
        m_redrawPosted = false;
        Redraw();
    });
}

void RegisterWindowTools::Refreshed()
{
    m_plot.Sample(m_view.Logic()->Tree(), m_clock.elapsed());
    Redraw();
}

void RegisterWindowTools::Plot(uint64_t rowId)
{
    const RegisterRowTree &tree = m_view.Logic()->Tree();
    if (const RegisterRow *row = tree.FindById(rowId); row && m_plot.Add(*row, tree, m_clock.elapsed()))
        m_view.ShowPlot();
}

QColor RegisterWindowTools::ChangedBackground(const QPalette &palette, double strength)
{
    return Mix(palette.color(QPalette::Base), QColor(255, 196, 0), 0.2 + 0.8 * strength);
}

QColor RegisterWindowTools::ComparedBackground(const QPalette &palette)
{
    return Mix(palette.color(QPalette::Base), QColor(255, 120, 120), 0.55);
}

QColor RegisterWindowTools::OtherValueColour()
{
    return QColor(150, 0, 0);
}

std::map<QString, RowComparison> RegisterWindowTools::Comparisons() const
{
    std::map<QString, RowComparison> comparisons;
    const RegisterRowTree &tree = m_view.Logic()->Tree();
    for (const auto &peripheral : tree.TopRows()) {
        if (m_source == Source::Snapshots) {
            if (auto image = m_snapshots.find(peripheral->Name()); image != m_snapshots.end())
                comparisons.emplace(peripheral->Name(), RowComparison::AgainstImage(*peripheral, image->second));
        } else if (m_source == Source::Window) {
            const RegisterWindow *other = m_workspace.WindowTable().At(m_otherSlot);
            if (const RegisterRow *otherRow = other ? other->Tree().FindTopRow(peripheral->Name()) : nullptr)
                comparisons.emplace(peripheral->Name(), RowComparison::AgainstRows(*peripheral, *otherRow));
        }
    }
    return comparisons;
}

void RegisterWindowTools::Redraw()
{
    PropertyGrid &grid = *m_view.Grid();
    const RegisterRowTree &tree = m_view.Logic()->Tree();
    const QPalette palette = grid.Tree()->palette();
    const RowChanges &changes = m_watch.Changes();
    const std::map<QString, RowComparison> comparisons = Comparisons();
    const QString text = m_find->text();
    const std::unordered_set<uint64_t> kept = RowFilter::KeptRows(tree, text);
    const bool changesOnly = m_changesOnly->isChecked();
    for (const auto &peripheral : tree.TopRows()) {
        const auto comparison = comparisons.find(peripheral->Name());
        Walk(*peripheral, [&](const RegisterRow &row) {
            PropertyGrid::RowMarks marks;
            const RowComparison::Difference *difference =
                comparison != comparisons.end() ? comparison->second.Find(row.Id()) : nullptr;
            const bool notInFile = comparison != comparisons.end() && comparison->second.NotInOther(row.Id()) &&
                                   m_source == Source::Snapshots;
            if (notInFile) {
                // The snapshot does not hold this register: nothing to compare it with.
                marks.note = Tr(Text::kNotInFile);
                marks.noteColour = palette.color(QPalette::Disabled, QPalette::Text);
            } else if (difference) {
                marks.background = ComparedBackground(palette);
                marks.bold = true;
                marks.note = Tr(Text::kOtherValue).arg(difference->otherText);
                marks.noteColour = OtherValueColour();
            } else if (const double strength = changes.Strength(row.Id()); strength > 0) {
                marks.background = ChangedBackground(palette, strength);
                marks.bold = true;
            }
            grid.SetRowMarks(row.Id(), marks);
            const bool shown = kept.count(row.Id()) && (!changesOnly || changes.KeepsInChangesOnly(row));
            grid.SetRowHidden(row.Id(), !shown);
        });
    }
}

void RegisterWindowTools::CompareWithSnapshots(const QString &folder)
{
    m_snapshots.clear();
    const RegisterWindow &logic = *m_view.Logic();
    for (const auto &peripheral : logic.Tree().TopRows()) {
        const QString name = peripheral->Name();
        if (!SnapshotFiles::IsPlainFileName(name))
            continue;
        const QString path =
            folder.isEmpty() ? logic.DefaultSnapshotPath(name) : QDir(folder).filePath(name + QStringLiteral(".bin"));
        if (std::optional<QByteArray> image = SnapshotFiles::ReadAll(path))
            m_snapshots.emplace(name, *image);
    }
    if (m_snapshots.empty()) {
        m_workspace.Context().messages.ShowFailure(Tr(AppMessages::kNoSavedData));
        EndComparison();
        return;
    }
    m_source = Source::Snapshots;
    Redraw();
}

void RegisterWindowTools::CompareWithWindow(int slot)
{
    m_source = Source::Window;
    m_otherSlot = slot;
    Redraw();
}

void RegisterWindowTools::EndComparison()
{
    m_source = Source::None;
    m_snapshots.clear();
    Redraw();
}

void RegisterWindowTools::ShowCompareMenu()
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("compareMenu"));
    QAction *saved = menu.addAction(Tr(Text::kWithSaved));
    QAction *folder = menu.addAction(Tr(Text::kWithFolder));
    QHash<QAction *, int> windows;
    for (int slot = 0; slot < Workspace::kSlotCount; ++slot)
        if (const RegisterWindow *other = m_workspace.WindowTable().At(slot); other && other != m_view.Logic())
            windows.insert(menu.addAction(Tr(Text::kWithWindow).arg(other->Title())), slot);
    QAction *end = menu.addAction(Tr(Text::kEndComparison));
    end->setEnabled(m_source != Source::None);
    const QPoint at = m_compare->mapToGlobal(m_compare->rect().bottomLeft());
    QAction *chosen = m_view.ShowMenu(menu, at);
    if (!chosen)
        return;
    if (chosen == saved) {
        CompareWithSnapshots(QString());
    } else if (chosen == folder) {
        FileRequest request;
        request.kind = FileRequest::Kind::Folder;
        request.title = Tr(Text::kFolderTitle);
        request.purpose = QStringLiteral("compare-folder");
        request.startFolder = SnapshotFiles::DataFolder(m_workspace.ExeDir(), m_workspace.Chip());
        if (const QString path = m_workspace.Context().files.ChooseFile(request); !path.isEmpty())
            CompareWithSnapshots(path);
    } else if (chosen == end) {
        EndComparison();
    } else if (windows.contains(chosen)) {
        CompareWithWindow(windows.value(chosen));
    }
}

void RegisterWindowTools::ShowExportMenu()
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("exportMenu"));
    QAction *csv = menu.addAction(Tr(Text::kCsv));
    QAction *json = menu.addAction(Tr(Text::kJson));
    const QPoint at = m_export->mapToGlobal(m_export->rect().bottomLeft());
    QAction *chosen = m_view.ShowMenu(menu, at);
    if (chosen == csv || chosen == json)
        Export(chosen == json);
}

void RegisterWindowTools::Export(bool json)
{
    FileRequest request;
    request.kind = FileRequest::Kind::Save;
    request.title = Tr(Text::kExportTitle);
    request.filters = {json ? FileFilter{Tr(Text::kJsonFilter), QStringLiteral("*.json")}
                            : FileFilter{Tr(Text::kCsvFilter), QStringLiteral("*.csv")}};
    request.defaultName = m_view.Logic()->Title() + (json ? QStringLiteral(".json") : QStringLiteral(".csv"));
    request.overwritePrompt = true;
    request.purpose = QStringLiteral("export");
    const QString path = m_workspace.Context().files.ChooseFile(request);
    if (path.isEmpty())
        return;
    // What the window shows: rows the find box or "changes only" hides stay out.
    const PropertyGrid &grid = *m_view.Grid();
    const std::vector<RowExport::Record> records =
        RowExport::Records(m_view.Logic()->Tree(), [&](const RegisterRow &row) { return !grid.IsRowHidden(row.Id()); });
    const QByteArray bytes = json ? RowExport::Json(records) : RowExport::Csv(records);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        m_workspace.Context().messages.ShowFailure(Tr(AppMessages::kFileCreate).arg(path));
}
