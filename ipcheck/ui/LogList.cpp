#include "ipcheck/ui/LogList.h"

#include "ipcheck/IpCheckMessages.h"
#include "ipcheck/ui/LogListModel.h"
#include "link/DiskFile.h"
#include "link/UserInterfaces.h"
#include "link/Tr.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScrollBar>

#include <algorithm>

LogList::LogList(QWidget *parent)
    : QTableView(parent)
    , m_model(new LogListModel(this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    // Every row the same height keeps appending cheap for long runs.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { m_followLastRow = false; });
}

void LogList::SetUser(FileChooser *files, MessagePresenter *messages)
{
    m_files = files;
    m_messages = messages;
}

void LogList::AppendOutputLines(const QStringList &rows)
{
    const int before = m_model->rowCount();
    m_model->AppendRows(rows);
    if (m_model->rowCount() > before) {
        // The view lays new rows out (and may grow a scroll bar) later; the
        // last row is brought into view again after each such change, until
        // the user scrolls by hand.
        m_followLastRow = true;
        updateGeometries();
    }
}

void LogList::updateGeometries()
{
    QTableView::updateGeometries();
    if (m_followLastRow && m_model->rowCount() > 0)
        scrollTo(m_model->index(m_model->rowCount() - 1, 0));
}

void LogList::RemoveAllRows()
{
    m_model->RemoveAllRows();
}

int LogList::RowCount() const
{
    return m_model->rowCount();
}

QString LogList::RowText(int row) const
{
    return row >= 0 && row < m_model->rowCount() ? m_model->Rows()[row] : QString();
}

void LogList::SetColumnWidth(int width)
{
    horizontalHeader()->resizeSection(0, width);
}

QString LogList::SelectedText() const
{
    QModelIndexList selected = selectionModel()->selectedRows(0);
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QString text;
    for (const QModelIndex &index : selected)
        text += RowText(index.row()) + u'\n';
    return text;
}

void LogList::CopySelection()
{
    QClipboard *clipboard = QApplication::clipboard();
    if (clipboard == nullptr || !selectionModel()->hasSelection())
        return;
    clipboard->setText(SelectedText());
}

void LogList::SaveLogFile()
{
    if (m_model->rowCount() == 0) {
        ShowFailure(Tr(IpCheckMessages::kNoLogData));
        return;
    }
    QString path = AskLogPath();
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".log");
    // Written beside the chosen file and renamed over it, so an old log is
    // never left half replaced.
    QByteArray content;
    for (QString row : m_model->Rows()) {
        row.remove(u'\n');
        content += row.toLocal8Bit() + "\r\n";
    }
    DiskFile::Replace(path, content);
}

QString LogList::DefaultLogName(const QDateTime &time)
{
    const QDate date = time.date();
    const QTime clock = time.time();
    return QString::asprintf("(%04d-%02d-%02d-%02d-%02d-%02d)", date.year(), date.month(), date.day(), clock.hour(),
                             clock.minute(), clock.second());
}

void LogList::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_C:
            // The view's own copy would put only the current row on the
            // clipboard, so this one ends here.
            CopySelection();
            event->accept();
            return;
        case Qt::Key_A:
            selectAll();
            event->accept();
            return;
        case Qt::Key_S:
            SaveLogFile();
            event->accept();
            return;
        default:
            break;
        }
    }
    QTableView::keyPressEvent(event);
}

QString LogList::AskLogPath()
{
    FileRequest request;
    request.kind = FileRequest::Kind::Save;
    request.filters = {{Tr(QT_TRANSLATE_NOOP("Corvane", "log Files(*.log)")), QStringLiteral("*.log")},
                       {Tr(QT_TRANSLATE_NOOP("Corvane", "All Files(*.*)")), QStringLiteral("*.*")}};
    request.defaultName = DefaultLogName(QDateTime::currentDateTime());
    request.overwritePrompt = true;
    request.purpose = QStringLiteral("log");
    if (m_files != nullptr)
        return m_files->ChooseFile(request);

    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("log"));
    dialog.setNameFilters(
        {Tr(QT_TRANSLATE_NOOP("Corvane", "log Files(*.log)")), Tr(QT_TRANSLATE_NOOP("Corvane", "All Files(*.*)"))});
    dialog.selectFile(request.defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void LogList::ShowFailure(const QString &text)
{
    if (m_messages != nullptr) {
        m_messages->ShowFailure(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Corvane"), text, QMessageBox::Ok, this);
    box.exec();
}
