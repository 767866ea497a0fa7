#include "app/WidgetUser.h"

#include "app/UserProfile.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QStringList>

// The system's reason, where there is one, goes on a line of its own after
// the text, as corvane-cli prints it.
void WidgetUser::ShowMessage(MessageKind, const QString &text, const QString &reason)
{
    QString shown = text;
    if (!reason.isEmpty())
        shown += (text.endsWith(u'\n') ? QString() : QStringLiteral("\n")) + reason;
    if (messageHook) {
        messageHook(shown);
        return;
    }
    // The wait cursor of a running handler must not hide the box's arrow.
    const bool busy = m_busyDepth > 0;
    if (busy)
        QApplication::restoreOverrideCursor();
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Corvane"), shown, QMessageBox::Ok, m_parent);
    box.exec();
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

namespace {

// The per-user profile, where the folder of each purpose is kept.
QSettings Profile()
{
    return UserProfile::Open();
}

QString FolderKey(const QString &purpose)
{
    return QStringLiteral("FileFolders/") + purpose;
}

QString StartFolder(const FileRequest &request)
{
    if (!request.purpose.isEmpty()) {
        const QString kept = Profile().value(FolderKey(request.purpose)).toString();
        if (!kept.isEmpty() && QFileInfo(kept).isDir())
            return kept;
    }
    return request.startFolder;
}

void KeepFolder(const FileRequest &request, const QString &chosen)
{
    if (request.purpose.isEmpty())
        return;
    const QString folder = request.kind == FileRequest::Kind::Folder ? QFileInfo(chosen).absoluteFilePath()
                                                                     : QFileInfo(chosen).absolutePath();
    Profile().setValue(FolderKey(request.purpose), folder);
}

} // namespace

QString WidgetUser::ChooseFile(const FileRequest &request)
{
    FileRequest asked = request;
    asked.startFolder = StartFolder(request);
    const QString chosen = fileHook ? fileHook(asked) : RunDialog(asked);
    if (!chosen.isEmpty())
        KeepFolder(request, chosen);
    return chosen;
}

QString WidgetUser::RunDialog(const FileRequest &request)
{
    QStringList filters;
    for (const FileFilter &filter : request.filters)
        filters << QStringLiteral("%1 (%2)").arg(filter.text, filter.pattern);
    QFileDialog dialog(m_parent, request.title);
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(request.kind == FileRequest::Kind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.kind == FileRequest::Kind::Folder ? QFileDialog::Directory
                       : request.mustExist                       ? QFileDialog::ExistingFile
                                                                 : QFileDialog::AnyFile);
    if (!request.startFolder.isEmpty())
        dialog.setDirectory(request.startFolder);
    else if (request.kind == FileRequest::Kind::Folder)
        dialog.setDirectory(request.defaultName);
    if (request.kind != FileRequest::Kind::Folder && !request.defaultName.isEmpty())
        dialog.selectFile(request.defaultName);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    const bool busy = m_busyDepth > 0;
    if (busy)
        QApplication::restoreOverrideCursor();
    const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    return accepted ? dialog.selectedFiles().constFirst() : QString();
}

void WidgetUser::SetBusy(bool busy)
{
    if (busy) {
        if (m_busyDepth++ == 0)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_busyDepth > 0 && --m_busyDepth == 0) {
        QApplication::restoreOverrideCursor();
    }
}

QString WidgetUser::ChipModel() const
{
    return m_panel ? m_panel->ChipModel() : QString();
}

int WidgetUser::DataSourceEntry() const
{
    return m_panel ? m_panel->DataSourceEntry() : -1;
}

QString WidgetUser::ProbeText() const
{
    return m_panel ? m_panel->ProbeText() : QString();
}

int WidgetUser::NumberBaseEntry() const
{
    return m_panel ? m_panel->NumberBaseEntry() : -1;
}

int WidgetUser::RegisterWriteModeEntry() const
{
    return m_panel ? m_panel->RegisterWriteModeEntry() : -1;
}
