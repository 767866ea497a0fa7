#include "cli/CliRun.h"

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
    QString Put(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    QTemporaryDir m_dir;
};

TEST_F(CliXmlTest, SvdNamesAndPeripheral)
{
    const QString svd = Put("device.svd", kDevice);
    const CliRun names = CliRun::Run({"svd-names", svd});
    EXPECT_EQ(names.status, 0);
    EXPECT_EQ(names.out, "GPIO\nBROKEN\n");

    const CliRun gpio = CliRun::Run({"svd-peripheral", svd, "GPIO"});
    EXPECT_EQ(gpio.status, 0) << gpio.err.toStdString();
    EXPECT_EQ(gpio.out, "peripheral GPIO 0x40020000 0x00000008\n"
                        "register MODE 0x40020004 0x00000004\n"
                        "Pin\\nmode\n"
                        "field PIN0 0 2\n"
                        "first\n");

    const CliRun missing = CliRun::Run({"svd-peripheral", svd, "UART"});
    EXPECT_EQ(missing.status, 0);
    EXPECT_EQ(missing.out, "not present\n");

    const CliRun broken = CliRun::Run({"svd-peripheral", svd, "BROKEN"});
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.out, "");
    EXPECT_EQ(broken.err, "[svd] peripherals->peripheral->registers  not find!\n");
}

TEST_F(CliXmlTest, XmlCheckAlwaysSucceeds)
{
    const CliRun sound = CliRun::Run({"xml-check", Put("a.xml", "<a><b/></a>")});
    EXPECT_EQ(sound.status, 0);
    EXPECT_TRUE(sound.out.startsWith("sound\n"));
    const CliRun broken = CliRun::Run({"xml-check", Put("b.xml", "<a><b></a>")});
    EXPECT_EQ(broken.status, 0);
    EXPECT_TRUE(broken.out.startsWith("not sound\n"));
    EXPECT_TRUE(broken.out.contains("does not match")) << broken.out.toStdString();
    EXPECT_EQ(broken.err, "");
}

} // namespace
