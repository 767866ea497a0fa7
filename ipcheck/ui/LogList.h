#pragma once

#include <QDateTime>
#include <QStringList>
#include <QTableView>

class FileChooser;
class LogListModel;
class MessagePresenter;

// The log list: a one-column list of analyzer output rows, coloured by their
// tags. Ctrl+A selects every row, Ctrl+C copies the selected rows, Ctrl+S
// saves every row to a log file.
class LogList : public QTableView
{
    Q_OBJECT

public:
    explicit LogList(QWidget *parent = nullptr);

    // Dialogs and messages go through these when set (tests, the command
    // line); otherwise the list shows its own.
    void SetUser(FileChooser *files, MessagePresenter *messages);

    // New last rows, in order; the last one is scrolled into view.
    void AppendOutputLines(const QStringList &rows);
    void RemoveAllRows();
    int RowCount() const;
    QString RowText(int row) const;
    void SetColumnWidth(int width);

    // Every selected row's text followed by a line feed, in row order.
    QString SelectedText() const;
    // Ctrl+C: the selected rows onto the clipboard; with none selected the
    // clipboard is left as it is.
    void CopySelection();
    void SaveLogFile();

    // "(%04d-%02d-%02d-%02d-%02d-%02d)" of the local date and time.
    static QString DefaultLogName(const QDateTime &time);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void updateGeometries() override;

private:
    QString AskLogPath();
    void ShowFailure(const QString &text);

    LogListModel *m_model;
    FileChooser *m_files = nullptr;
    MessagePresenter *m_messages = nullptr;
    bool m_followLastRow = false;
};
