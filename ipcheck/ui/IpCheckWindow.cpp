#include "ipcheck/ui/IpCheckWindow.h"

#include "link/Tr.h"

#include "ipcheck/ui/LogList.h"
#include "ipcheck/IpCheckSelections.h"
#include "ipcheck/IpCheckWorker.h"
#include "ipcheck/IpListBuilder.h"
#include "ipcheck/ui/WorkerCallQueue.h"
#include "link/ConfigFile.h"
#include "link/Settings.h"
#include "link/UserInterfaces.h"
#include "widgets/EditableListCtrl.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Dialog units of the template's font ("宋体", 9 points) at 96 dots per inch:
// four horizontal units are one average character of 6 pixels, eight
// vertical units one character height of 12 pixels.
constexpr int kCharWidth = 6;
constexpr int kCharHeight = 12;

const QColor kKnownIpColor(0, 35, 245);

} // namespace

IpCheckWindow::IpCheckWindow(ConfigFile &config, IpCheckSelections &panel, QString exeDir, int dpi, QWidget *parent)
    : QWidget(parent)
    , m_config(config)
    , m_panel(panel)
    , m_exeDir(std::move(exeDir))
    , m_dpi(dpi > 0 ? dpi : 96)
    , m_ipList(new EditableListCtrl(this))
    , m_outputList(new LogList(this))
    , m_analyze(new QPushButton(Tr(QT_TRANSLATE_NOOP("Corvane", "IP分析")), this))
    , m_clear(new QPushButton(Tr(QT_TRANSLATE_NOOP("Corvane", "清空")), this))
    , m_save(new QPushButton(Tr(QT_TRANSLATE_NOOP("Corvane", "保存")), this))
    , m_progress(new QLabel(this))
    , m_pathField(new QLineEdit(this))
    , m_pickFolder(new QPushButton(QStringLiteral("..."), this))
    , m_calls(new WorkerCallQueue([this](const QStringList &rows) { m_outputList->AppendOutputLines(rows); }, this))
    , m_worker(std::make_unique<IpCheckWorker>(m_exeDir, *this))
{
    setObjectName(QStringLiteral("103"));
    QFont font(QStringLiteral("SimSun"));
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("WenQuanYi Micro Hei")});
    font.setPointSize(9);
    setFont(font);

    const struct
    {
        QWidget *widget;
        const char *id;
        QRect units;
    } controls[] = {
        {m_ipList, "1037", {2, 2, 242, 230}},   {m_outputList, "1039", {2, 254, 242, 93}},
        {m_analyze, "1038", {1, 238, 50, 14}},  {m_clear, "1040", {187, 238, 26, 14}},
        {m_save, "1044", {217, 238, 26, 14}},   {m_progress, "1043", {58, 242, 103, 8}},
        {m_pathField, "1041", {1, 1, 227, 12}}, {m_pickFolder, "1042", {229, 0, 15, 14}},
    };
    for (const auto &control : controls) {
        control.widget->setObjectName(QLatin1StringView(control.id));
        control.widget->setGeometry(
            FromDialogUnits(control.units.x(), control.units.y(), control.units.width(), control.units.height()));
    }
    m_progress->setEnabled(false);
    // The template's 8 units are shorter than a line of the font: the
    // label keeps its middle and grows to a whole line, underscores included.
    const QRect line = m_progress->geometry();
    const int height = qMax(line.height(), m_progress->fontMetrics().height() + 2);
    m_progress->setGeometry(line.x(), line.center().y() - height / 2, line.width(), height);
    m_pathField->hide();
    m_pickFolder->hide();
    resize(FromDialogUnits(0, 0, kTemplateWidth, kTemplateHeight).size());

    connect(m_analyze, &QPushButton::clicked, this, [this] { RequestRun(-1); });
    connect(m_ipList, &EditableListCtrl::RowDoubleClicked, this, &IpCheckWindow::RequestRun);
    connect(m_ipList->horizontalHeader(), &QHeaderView::sectionClicked, this, &IpCheckWindow::OnHeaderClicked);
    connect(m_clear, &QPushButton::clicked, m_outputList, &LogList::RemoveAllRows);
    connect(m_save, &QPushButton::clicked, m_outputList, &LogList::SaveLogFile);
    connect(m_pathField, &QLineEdit::textChanged, this, &IpCheckWindow::BuildIpList);
    connect(m_pickFolder, &QPushButton::clicked, this, &IpCheckWindow::PickAnalyzerFolder);
}

IpCheckWindow::~IpCheckWindow()
{
    // The worker may still post to this window; it goes first.
    m_worker.reset();
}

void IpCheckWindow::InitialUpdate()
{
    if (m_initialised)
        return;
    m_initialised = true;

    m_ipList->InsertColumn(0, Tr(QT_TRANSLATE_NOOP("Corvane", "sel")), Qt::AlignHCenter, Scaled(40));
    m_ipList->InsertColumn(1, Tr(QT_TRANSLATE_NOOP("Corvane", "IP list")), Qt::AlignLeft, Scaled(300));
    m_outputList->SetColumnWidth(Scaled(350));

    // Setting the text builds the IP list, also when it stays empty.
    const QString path =
        m_config.ReadText(ConfigKey::kCommon, ConfigKey::kCheckIpPath, QString(), ConfigKey::kPathSize);
    const bool changes = m_pathField->text() != path;
    m_pathField->setText(path);
    if (!changes)
        BuildIpList();

    m_worker->Start();
}

void IpCheckWindow::BuildIpList()
{
    m_ipList->setUpdatesEnabled(false);
    m_ipList->RemoveAllRows();
    const std::vector<IpListRow> rows = ::BuildIpList(m_panel.ChipModel(), m_pathField->text(), m_exeDir);
    for (const IpListRow &row : rows) {
        const int index = m_ipList->InsertRow(m_ipList->rowCount(), QString());
        m_ipList->SetCheckState(index, 0, EditableListCtrl::CheckState::Unchecked);
        m_ipList->SetCellText(index, 1, row.name);
        m_ipList->SetRowEnabled(index, row.enabled);
        if (row.enabled)
            m_ipList->SetCellColors(index, 1, kKnownIpColor, Qt::white);
    }
    m_ipList->setUpdatesEnabled(true);
    // A new chip's list starts at its top.
    m_ipList->scrollToTop();
}

void IpCheckWindow::SetUser(FileChooser *files, MessagePresenter *messages)
{
    m_files = files;
    m_outputList->SetUser(files, messages);
}

void IpCheckWindow::RequestRun(int row)
{
    IpRunRequest request;
    request.runRequest = row;
    for (int i = 0; i < m_ipList->rowCount(); ++i)
        request.rows.push_back(IpRunRow{m_ipList->CellText(i, 1),
                                        m_ipList->GetCheckState(i, 0) == EditableListCtrl::kChecked,
                                        m_ipList->IsRowEnabled(i)});
    request.pathField = m_pathField->text();
    request.chipModel = m_panel.ChipModel();
    request.uartPort = m_panel.UartPortText();
    request.uartSpeed = m_panel.UartSpeedText();
    m_worker->Request(std::move(request));
}

void IpCheckWindow::SetProgressText(const QString &text)
{
    m_calls->PostCall([this, text] { m_progress->setText(text); });
}

void IpCheckWindow::ReleaseRow(int row, const QString &name, bool scrollIntoView)
{
    m_calls->PostCall([this, row, name, scrollIntoView] {
        // The list may have been rebuilt since the request.
        if (m_ipList->CellText(row, 1) != name)
            return;
        QItemSelectionModel *selection = m_ipList->selectionModel();
        const QModelIndex index = m_ipList->model()->index(row, 0);
        selection->select(index, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        if (selection->currentIndex().row() == row)
            selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        if (scrollIntoView)
            m_ipList->scrollTo(index);
    });
}

void IpCheckWindow::AppendOutputLines(const QStringList &rows)
{
    m_calls->PostRows(rows);
}

void IpCheckWindow::CycleEnded()
{
    m_calls->PostCall([this] { emit RunCycleEnded(); });
}

void IpCheckWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    InitialUpdate();
}

void IpCheckWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    LayOutOutputList();
    emit RetileRequested();
}

void IpCheckWindow::LayOutOutputList()
{
    const QRect client = rect();
    const int y = Scaled(380);
    const int height = client.bottom() + 1 - y - client.top();
    if (client.width() > y) {
        m_outputList->setGeometry(client.left() + 2, client.top() + y, client.width() - 10, height);
        m_outputList->SetColumnWidth(client.width() - 20);
    } else {
        m_outputList->setGeometry(client.left() + 2, client.top() + y, Scaled(365), height);
        m_outputList->SetColumnWidth(Scaled(350));
    }
}

QRect IpCheckWindow::FromDialogUnits(int x, int y, int width, int height) const
{
    const int cx = Scaled(kCharWidth);
    const int cy = Scaled(kCharHeight);
    return QRect(x * cx / 4, y * cy / 8, width * cx / 4, height * cy / 8);
}

int IpCheckWindow::Scaled(int pixels) const
{
    return pixels * m_dpi / 96;
}

void IpCheckWindow::OnHeaderClicked()
{
    bool anyChecked = false;
    for (int row = 0; row < m_ipList->rowCount() && !anyChecked; ++row)
        anyChecked = m_ipList->GetCheckState(row, 0) == EditableListCtrl::kChecked;
    const auto state = anyChecked ? EditableListCtrl::CheckState::Unchecked : EditableListCtrl::CheckState::Checked;
    for (int row = 0; row < m_ipList->rowCount(); ++row) {
        if (m_ipList->IsRowEnabled(row))
            m_ipList->SetCheckState(row, 0, state);
    }
}

void IpCheckWindow::PickAnalyzerFolder()
{
    QString folder;
    if (m_files != nullptr) {
        FileRequest request;
        request.kind = FileRequest::Kind::Folder;
        request.defaultName = m_pathField->text();
        folder = m_files->ChooseFile(request);
    } else {
        folder = QFileDialog::getExistingDirectory(this, QString(), m_pathField->text());
    }
    if (!folder.isEmpty())
        m_pathField->setText(folder);
}
