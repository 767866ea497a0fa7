// The in-place editor of a field with enumerated values: an editable
// drop-down of the values by name, driven by real mouse and key events.

#include "GridRows.h"
#include "regmap/RegisterWindow.h"
#include "AppRig.h"

#include "widgets/PropertyGrid.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>
#include "support/QtTestChecks.h"

namespace {

const char kSvd[] = R"(<device><name>VX21A</name><peripherals>
<peripheral><name>UART0</name><baseAddress>0x40001000</baseAddress><registers>
  <register><name>CR</name><addressOffset>0x0</addressOffset><fields>
    <field><name>MODE</name><description>Mode</description><bitOffset>0</bitOffset><bitWidth>2</bitWidth>
      <enumeratedValues>
        <enumeratedValue><name>OFF</name><value>0</value></enumeratedValue>
        <enumeratedValue><name>ON</name><value>1</value></enumeratedValue>
        <enumeratedValue><name>AUTO</name><value>2</value></enumeratedValue></enumeratedValues></field>
    <field><name>ID</name><bitOffset>8</bitOffset><bitWidth>8</bitWidth><access>read-only</access></field>
    <field><name>LEN</name><bitOffset>16</bitOffset><bitWidth>4</bitWidth></field></fields></register>
</registers></peripheral></peripherals></device>)";

GridItem FieldItem(PropertyGrid *grid, const QString &name)
{
    GridItem cr = GridView(grid->Tree())->topLevelItem(0)->child(0);
    for (int i = 0; i < cr->childCount(); ++i) {
        if (cr->child(i)->text(0) == name)
            return cr->child(i);
    }
    return nullptr;
}

void ClickValue(PropertyGrid *grid, GridItem item)
{
    GridView tree(grid->Tree());
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(item).center() + QPoint(tree->columnWidth(0) / 2 + 20, 0));
    QApplication::processEvents();
}

} // namespace

TEST(RegisterWindowChoices, FieldWithEnumeratedValuesOffersThemByName)
{
    AppRig rig(StandardIni(QStringLiteral("EXPAND_TYPE=2\nHEX_DEC=1\nREG_WR=1\n[VX21A]\nWND_0=1\nUART0=1\n")));
    rig.WriteFile(QStringLiteral("svd/VX21A.svd"), kSvd);
    ASSERT_TRUE(rig.Start());
    rig.app->ChildFrame(0)->resize(700, 500);
    QApplication::processEvents();
    PropertyGrid *grid = rig.app->RegisterWindow(0)->Grid();
    GridItem mode = FieldItem(grid, "MODE");
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->text(1), "—") << "never read";
    rig.app->RegisterWindow(0)->Logic()->FillPeripheral("UART0", QByteArray(16, '\0'));
    EXPECT_EQ(mode->text(1), "0x0 (OFF)");

    ClickValue(grid, mode);
    auto *box = grid->Tree()->viewport()->findChild<QComboBox *>();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(box->isVisible());
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    EXPECT_EQ(items, QStringList({"0x0 (OFF)", "0x1 (ON)", "0x2 (AUTO)"}));
    EXPECT_EQ(box->currentText(), "0x0 (OFF)");

    // Down picks the next name; Enter commits it.
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QApplication::processEvents();
    GridItem cr = GridView(grid->Tree())->topLevelItem(0)->child(0);
    QTRY_VERIFY2(cr->text(1).endsWith("0x00000002"), qPrintable(cr->text(1)));
    EXPECT_EQ(mode->text(1), "0x2 (AUTO)");
    // What is drawn: the row shows its value with the name.
    grid->grab().toImage().save(QDir::temp().filePath("corvane-enum-choices.png"));

    // Free entry works as well: a number that no name carries.
    rig.Settle(); // the first editor is gone
    ClickValue(grid, mode);
    box = grid->Tree()->viewport()->findChild<QComboBox *>();
    ASSERT_NE(box, nullptr);
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), "3");
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QTRY_VERIFY2(cr->text(1).endsWith("0x00000003"), qPrintable(cr->text(1)));

    // A field without names gets the plain line editor; a read-only field none.
    ClickValue(grid, FieldItem(grid, "LEN"));
    EXPECT_NE(grid->Tree()->viewport()->findChild<QLineEdit *>(), nullptr);
    QTest::keyClick(grid->Tree()->viewport()->findChild<QLineEdit *>(), Qt::Key_Escape);
    rig.Settle();
    ASSERT_EQ(grid->Tree()->viewport()->findChildren<QLineEdit *>().size(), 0);
    GridItem id = FieldItem(grid, "ID");
    EXPECT_FALSE(id->flags() & Qt::ItemIsEditable);
    ClickValue(grid, id);
    EXPECT_EQ(grid->Tree()->viewport()->findChildren<QLineEdit *>().size(), 0);
}

// The drop-down holds each choice as its value and name: picking one hands
// the window that value, whatever the name holds (here the " (" a choice's
// text would otherwise have to be cut at).
TEST(RegisterWindowChoices, PickedChoicesGoToTheWindowAsValues)
{
    QByteArray svd = kSvd;
    svd.replace("<name>ON</name>", "<name>HALF (1/2)</name>");
    AppRig rig(StandardIni(QStringLiteral("EXPAND_TYPE=2\nHEX_DEC=0\nREG_WR=1\n[VX21A]\nWND_0=1\nUART0=1\n")));
    rig.WriteFile(QStringLiteral("svd/VX21A.svd"), svd);
    ASSERT_TRUE(rig.Start());
    rig.app->ChildFrame(0)->resize(700, 500);
    QApplication::processEvents();
    PropertyGrid *grid = rig.app->RegisterWindow(0)->Grid();
    rig.app->RegisterWindow(0)->Logic()->FillPeripheral("UART0", QByteArray(16, '\0'));
    GridItem mode = FieldItem(grid, "MODE");
    ASSERT_NE(mode, nullptr);
    GridItem cr = GridView(grid->Tree())->topLevelItem(0)->child(0);

    ClickValue(grid, mode);
    auto *box = grid->Tree()->viewport()->findChild<QComboBox *>();
    ASSERT_NE(box, nullptr);
    const QStringList drawn = {"0 (OFF)", "1 (HALF (1/2))", "2 (AUTO)"};
    const QStringList names = {"OFF", "HALF (1/2)", "AUTO"};
    ASSERT_EQ(box->count(), 3);
    for (int i = 0; i < box->count(); ++i) {
        EXPECT_EQ(box->itemText(i), drawn[i]);
        const PropertyChoice choice = box->itemData(i).value<PropertyChoice>();
        EXPECT_EQ(choice.value, quint64(i));
        EXPECT_EQ(choice.name, names[i]);
    }
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QTRY_VERIFY2(cr->text(1) == "1", qPrintable(cr->text(1))); // the register in the window's base
    EXPECT_EQ(mode->text(1), "1 (HALF (1/2))");
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('|').toStdString();

    // A choice's text typed whole is that choice.
    rig.Settle();
    ClickValue(grid, mode);
    box = grid->Tree()->viewport()->findChild<QComboBox *>();
    ASSERT_NE(box, nullptr);
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), "2 (AUTO)");
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QTRY_VERIFY2(cr->text(1) == "2", qPrintable(cr->text(1)));
    EXPECT_EQ(mode->text(1), "2 (AUTO)");
}
