#include "support/ChildRun.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const char kDevice[] = R"(<?xml version="1.0" encoding="utf-8"?>
<device>
  <peripherals>
    <peripheral>
      <name>GPIO</name>
      <baseAddress>0x40020000</baseAddress>
      <registers>
        <register>
          <name>MODE</name>
          <description>Pin
mode</description>
          <addressOffset>0x4</addressOffset>
          <fields>
            <field><name>PIN0</name><description>first</description><bitOffset>0</bitOffset><bitWidth>2</bitWidth></field>
          </fields>
        </register>
      </registers>
    </peripheral>
    <peripheral>
      <name>BROKEN</name>
      <baseAddress>0x40030000</baseAddress>
    </peripheral>
  </peripherals>
</device>
)";

class CliXmlTest : public testing::Test
{
protected:
    QString Put(const QString &name, const QByteArray &bytes) { return PutFile(m_dir.filePath(name), bytes); }
    QTemporaryDir m_dir;
};

TEST_F(CliXmlTest, SvdNamesAndPeripheral)
{
    const QString svd = Put("device.svd", kDevice);
    const ChildRun names = RunCli({"svd-names", svd});
    EXPECT_EQ(names.status, 0);
    EXPECT_EQ(names.out, "GPIO\nBROKEN\n");

    const ChildRun gpio = RunCli({"svd-peripheral", svd, "GPIO"});
    EXPECT_EQ(gpio.status, 0) << gpio.err.toStdString();
    EXPECT_EQ(gpio.out, "peripheral GPIO 0x40020000 0x00000008\n"
                        "register MODE 0x40020004 0x00000004\n"
                        "Pin\\nmode\n"
                        "field PIN0 0 2\n"
                        "first\n");

    const ChildRun missing = RunCli({"svd-peripheral", svd, "UART"});
    EXPECT_EQ(missing.status, 0);
    EXPECT_EQ(missing.out, "not present\n");

    // A peripheral without registers has none, over the smallest span.
    const ChildRun broken = RunCli({"svd-peripheral", svd, "BROKEN"});
    EXPECT_EQ(broken.status, 0);
    EXPECT_EQ(broken.out, "peripheral BROKEN 0x40030000 0x00000004\n");
    EXPECT_EQ(broken.err, "");
}

TEST_F(CliXmlTest, SvdNamesFailsOnAFileThatCannotBeReadAsSvdPeripheralDoes)
{
    const QString missing = m_dir.filePath("missing.svd");
    const QString unreadable = m_dir.path(); // a folder opens but cannot be read
    for (const QString &path : {missing, unreadable}) {
        SCOPED_TRACE(path.toStdString());
        const ChildRun peripheral = RunCli({"svd-peripheral", path, "GPIO"});
        const ChildRun names = RunCli({"svd-names", path});
        EXPECT_EQ(peripheral.status, 1);
        EXPECT_EQ(peripheral.err, "[svd] peripherals not find !\n");
        EXPECT_EQ(names.status, peripheral.status);
        EXPECT_EQ(names.err, peripheral.err);
        EXPECT_EQ(names.out, "");
    }
    // A file that reads, even one without peripherals, lists what it has.
    const ChildRun empty = RunCli({"svd-names", Put("empty.svd", "<device/>")});
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out, "");
}

TEST_F(CliXmlTest, SvdPeripheralPrintsTheExpandedModel)
{
    const QString svd = Put("expanded.svd", R"(<device><peripherals>
<peripheral><name>A</name><baseAddress>0x100</baseAddress><size>16</size><registers>
  <register><dim>2</dim><dimIncrement>2</dimIncrement><name>R[%s]</name><addressOffset>0</addressOffset>
    <fields><field><name>F</name><description>f</description><lsb>0</lsb><msb>1</msb>
      <enumeratedValues><enumeratedValue><name>OFF</name><value>0</value></enumeratedValue>
        <enumeratedValue><name>ON</name><value>0x1A</value></enumeratedValue></enumeratedValues></field></fields></register>
  <cluster><name>C</name><addressOffset>0x10</addressOffset>
    <register><name>W</name><description>w</description><addressOffset>0</addressOffset><size>32</size></register></cluster>
</registers></peripheral>
<peripheral derivedFrom="A"><name>B</name><baseAddress>0x200</baseAddress></peripheral>
<peripheral derivedFrom="Z"><name>D</name><baseAddress>0x300</baseAddress></peripheral>
</peripherals></device>)");
    const ChildRun b = RunCli({"svd-peripheral", svd, "B"});
    EXPECT_EQ(b.status, 0) << b.err.toStdString();
    EXPECT_EQ(b.out, "peripheral B 0x00000200 0x00000014\n"
                     "register R[0] 0x00000200 0x00000000\n\nsize 16\n"
                     "field F 0 2\nf\nenum OFF 0x0\nenum ON 0x1A\n"
                     "register R[1] 0x00000202 0x00000002\n\nsize 16\n"
                     "field F 0 2\nf\nenum OFF 0x0\nenum ON 0x1A\n"
                     "register C.W 0x00000210 0x00000010\nw\n");
    const ChildRun d = RunCli({"svd-peripheral", svd, "D"});
    EXPECT_EQ(d.status, 1);
    EXPECT_EQ(d.err, "[svd] D derivedFrom Z not find!\n");
}

TEST_F(CliXmlTest, XmlCheckAlwaysSucceeds)
{
    const ChildRun sound = RunCli({"xml-check", Put("a.xml", "<a><b/></a>")});
    EXPECT_EQ(sound.status, 0);
    EXPECT_TRUE(sound.out.startsWith("sound\n"));
    const ChildRun broken = RunCli({"xml-check", Put("b.xml", "<a><b></a>")});
    EXPECT_EQ(broken.status, 0);
    EXPECT_TRUE(broken.out.startsWith("not sound\n"));
    EXPECT_TRUE(broken.out.contains("does not match")) << broken.out.toStdString();
    EXPECT_EQ(broken.err, "");
}

} // namespace
