// Notes and failures reach the person in the same message box: the text,
// and a failure's system reason on a line after it, as the command-line tool
// prints it.

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

TEST(MessageBoxTest, NoteAndFailureLookAlikeAndShowTheReasonOnALineAfterTheText)
{
    const DrawnBox failure =
        Shown(MessageKind::Failure, "uart open error !\n", "/dev/ttyUSB0: Device or resource busy");
    const DrawnBox unbroken =
        Shown(MessageKind::Failure, "ReadMem 0x20000000 4 error !", "/dev/ttyUSB0: the port hung up");
    const DrawnBox note = Shown(MessageKind::Note, "LENGTH over 1024 Bytes, data show too long, use 1024 Bytes!", "");
    EXPECT_EQ(failure.label, "uart open error !\n/dev/ttyUSB0: Device or resource busy");
    EXPECT_EQ(unbroken.label, "ReadMem 0x20000000 4 error !\n/dev/ttyUSB0: the port hung up");
    EXPECT_EQ(note.label, "LENGTH over 1024 Bytes, data show too long, use 1024 Bytes!");
    for (const DrawnBox &box : {failure, unbroken, note}) {
        EXPECT_EQ(box.title, "Corvane");
        EXPECT_EQ(box.icon, QMessageBox::NoIcon);
        EXPECT_EQ(box.buttons, 1);
    }
}

} // namespace
