#pragma once

#include <QString>
#include <QtGlobal>

class MemoryHexArea;
class MemoryView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;
class QWidget;

// The widgets of a memory window laid out in it: the address row (address
// box, back and forward, unit, row width, watch and its rate), the find row
// with the range and the file transfers, the rows, and the status line with
// the progress of a long action and its cancel. Object names are what the
// tests and scenarios find them by.
struct MemoryWindowControls
{
    static constexpr int kDefaultRate = 5;

    MemoryWindowControls(QWidget *window, MemoryView &view);

    MemoryHexArea *hex = nullptr;
    QComboBox *address = nullptr;
    QToolButton *back = nullptr;
    QToolButton *forward = nullptr;
    QComboBox *unit = nullptr;
    QComboBox *rowWidth = nullptr;
    QCheckBox *watch = nullptr;
    QComboBox *rate = nullptr;
    QLineEdit *find = nullptr;
    QComboBox *findKind = nullptr;
    QLineEdit *rangeFirst = nullptr;
    QLineEdit *rangeLength = nullptr;
    QPushButton *findButton = nullptr;
    QPushButton *save = nullptr;
    QPushButton *load = nullptr;
    QLabel *status = nullptr;
    QLabel *message = nullptr;
    QProgressBar *progress = nullptr;
    QPushButton *cancel = nullptr;

    // A long action of the window runs: its line, the progress from nothing,
    // the cancel, and no button that starts another.
    void ShowBusy(const QString &line, bool cancellable);
    void EndBusy(const QString &line);
    // Find, save and load start nothing while any action runs.
    void EnableActions(bool on);
};

// What the memory window shows and says.
namespace MemoryWindowText {
inline constexpr char kFindButton[] = QT_TRANSLATE_NOOP("Corvane", "查找");
inline constexpr char kSave[] = QT_TRANSLATE_NOOP("Corvane", "保存到文件");
inline constexpr char kLoad[] = QT_TRANSLATE_NOOP("Corvane", "从文件载入");
inline constexpr char kFinding[] = QT_TRANSLATE_NOOP("Corvane", "查找中…");
inline constexpr char kFound[] = QT_TRANSLATE_NOOP("Corvane", "找到 0x%1");
inline constexpr char kNotFound[] = QT_TRANSLATE_NOOP("Corvane", "未找到");
inline constexpr char kCancelled[] = QT_TRANSLATE_NOOP("Corvane", "已取消");
inline constexpr char kSaving[] = QT_TRANSLATE_NOOP("Corvane", "保存中…");
inline constexpr char kLoading[] = QT_TRANSLATE_NOOP("Corvane", "载入中…");
inline constexpr char kDone[] = QT_TRANSLATE_NOOP("Corvane", "完成");
inline constexpr char kNoPeripheral[] = QT_TRANSLATE_NOOP("Corvane", "%1 不在外设列表中");
} // namespace MemoryWindowText
