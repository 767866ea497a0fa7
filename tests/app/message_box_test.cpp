// Notes and failures reach the person in the same message box, with the text
// alone: a failure's system reason is for the command-line tool.

#include "app/WidgetUser.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct DrawnBox
{
    QString title;
    QString label;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

DrawnBox Shown(MessageKind kind, const QString &text, const QString &reason)
{
    DrawnBox drawn;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        drawn.title = box->windowTitle();
        drawn.label = box->findChild<QLabel *>("qt_msgbox_label")->text();
        drawn.icon = box->icon();
        drawn.buttons = int(box->findChildren<QPushButton *>().size());
        box->button(QMessageBox::Ok)->click();
    });
    WidgetUser user;
    user.ShowMessage(kind, text, reason);
    return drawn;
}

TEST(MessageBoxTest, NoteAndFailureLookAlikeAndShowTheTextAlone)
{
    const DrawnBox failure =
        Shown(MessageKind::Failure, "uart open error !\n", "/dev/ttyUSB0: Device or resource busy");
    const DrawnBox note = Shown(MessageKind::Note, "LENGTH over 1024 Bytes, data show too long, use 1024 Bytes!", "");
    EXPECT_EQ(failure.label, "uart open error !\n");
    EXPECT_EQ(note.label, "LENGTH over 1024 Bytes, data show too long, use 1024 Bytes!");
    for (const DrawnBox &box : {failure, note}) {
        EXPECT_EQ(box.title, "Corvane");
        EXPECT_EQ(box.icon, QMessageBox::NoIcon);
        EXPECT_EQ(box.buttons, 1);
    }
}

} // namespace
