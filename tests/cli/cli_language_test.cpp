// corvane-cli's help and messages in the language of the locale or of
// --language; what its commands print and store stays the same in every one.
#include "CliRig.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kEnglishHelp = "usage: corvane-cli [--home DIR] [--chip NAME] [--language en|zh] COMMAND [ARGS...]\n";
const QByteArray kChineseHelp = "用法: corvane-cli [--home DIR] [--chip NAME] [--language en|zh] COMMAND [ARGS...]\n";

// The locale as a user's shell sets it: LANG, and LANGUAGE or LC_ALL where given.
ChildRun::Environment Locale(const QString &lang, const QString &language = {}, const QString &all = {})
{
    return {{"LANG", lang}, {"LANGUAGE", language}, {"LC_ALL", all}, {"LC_MESSAGES", {}}};
}

ChildRun CliIn(CliRig &rig, const ChildRun::Environment &locale, const QStringList &arguments)
{
    return RunCli(QStringList{"--home", rig.home.path()} + arguments, locale);
}

enum class Shown { Source, English, Chinese };

TEST(CliLanguage, HelpAndMessagesFollowTheLocaleAndTheOption)
{
    CliRig rig;
    struct Case
    {
        const char *what;
        ChildRun::Environment locale;
        QStringList options;
        Shown shown;
    };
    const Case cases[] = {
        {"C", Locale("C"), {}, Shown::Source},
        {"POSIX", Locale("POSIX"), {}, Shown::Source},
        {"C.UTF-8", Locale("C.UTF-8"), {}, Shown::Source},
        {"English", Locale("en_US.UTF-8"), {}, Shown::English},
        {"Chinese", Locale("zh_CN.UTF-8"), {}, Shown::Chinese},
        {"LANGUAGE before LANG", Locale("en_US.UTF-8", "zh_CN:en"), {}, Shown::Chinese},
        {"LC_ALL before LANG", Locale("zh_CN.UTF-8", {}, "C"), {}, Shown::Source},
        {"another language: English", Locale("de_DE.UTF-8"), {}, Shown::English},
        {"--language zh over English", Locale("en_US.UTF-8"), {"--language", "zh"}, Shown::Chinese},
        {"--language=en over Chinese", Locale("zh_CN.UTF-8"), {"--language=en"}, Shown::English},
        {"--language zh under C", Locale("C"), {"--language", "zh"}, Shown::Chinese},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const bool chinese = c.shown == Shown::Chinese;

        const ChildRun help = CliIn(rig, c.locale, c.options + QStringList{"--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.out.startsWith(chinese ? kChineseHelp : kEnglishHelp)) << help.out.toStdString();
        EXPECT_EQ(help.out.contains("  read ADDR LEN                   读取最多 1024 字节并以十六进制打印\n"), chinese);
        EXPECT_EQ(
            help.out.contains("  read ADDR LEN                   read up to 1024 bytes and print them as a hex dump\n"),
            !chinese);

        // A refused input, and a failure of the link with the system's
        // reason on the line after it.
        const ChildRun align = CliIn(rig, c.locale, c.options + QStringList{"read", "0x20000003", "4"});
        EXPECT_EQ(align.status, 1);
        EXPECT_EQ(align.err, chinese ? "ADDR 应 4 字节对齐，请检查!\n" : "ADDR shold 4 Bytes align, please check!\n");
        const ChildRun usage = CliIn(rig, c.locale, c.options + QStringList{"frobnicate"});
        EXPECT_EQ(usage.status, 2);
        EXPECT_TRUE(usage.err.startsWith(chinese ? "corvane-cli: 未知命令 frobnicate\n用法: corvane-cli"
                                                 : "corvane-cli: unknown command frobnicate\nusage: corvane-cli"))
            << usage.err.toStdString();
    }

    const ChildRun bad = CliIn(rig, Locale("zh_CN.UTF-8"), {"--language", "fr", "--help"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.err.startsWith("corvane-cli: 未知语言 fr（en 或 zh）\n")) << bad.err.toStdString();

    // After the command's name, --language is the command's own argument
    // (here a peripheral's name), not the language.
    const ChildRun after = CliIn(rig, Locale("C"), {"rows", "--language", "zh"});
    EXPECT_EQ(after.status, 1);
    EXPECT_EQ(after.err, "no peripheral --language in " + rig.home.filePath("svd/VX21A.svd").toUtf8() + "\n");
}

TEST(CliLanguage, TwoLineMessagesKeepTheirLines)
{
    CliRig rig;
    rig.config.WriteInt("COMMON", "DATA_TYPE", 2);
    rig.config.WriteText("COMMON", "UART_PORT", rig.home.filePath("no-such-port"));
    for (const auto &[lang, first] :
         {std::pair{"en_US.UTF-8", "uart open error !\n"}, {"zh_CN.UTF-8", "uart 打开错误 !\n"}}) {
        SCOPED_TRACE(lang);
        const ChildRun run = CliIn(rig, Locale(lang), {"read", "0x20000000", "4"});
        EXPECT_EQ(run.status, 1);
        const QList<QByteArray> lines = run.err.split('\n');
        ASSERT_EQ(lines.size(), 3) << run.err.toStdString();
        EXPECT_EQ(lines[0] + '\n', first);
        EXPECT_TRUE(lines[1].startsWith(rig.home.filePath("no-such-port").toUtf8() + ": ")) << run.err.toStdString();
        EXPECT_EQ(lines[2], "");
    }
}

// The snapshot files, the configuration file and the rows printed as text,
// CSV and JSON are byte for byte the same in every language.
TEST(CliLanguage, WhatIsStoredAndPrintedIsTheSameInEveryLanguage)
{
    CliRig rig;
    rig.chip.PokeWord(0x20002000, 0xA5);
    auto runIn = [&rig](const ChildRun::Environment &locale) {
        QFile::remove(rig.DataPath("GPIO"));
        QFile::remove(rig.DataPath("TIMER"));
        QList<QByteArray> result;
        for (const QStringList &format : {QStringList{}, QStringList{"--format", "csv"}, {"--format", "json"}}) {
            const ChildRun run =
                CliIn(rig, locale, QStringList{"peripheral-read"} + format + QStringList{"GPIO", "TIMER"});
            EXPECT_EQ(run.status, 0) << run.err.toStdString();
            result << run.out;
        }
        result << rig.ReadFile(rig.DataPath("GPIO")) << rig.ReadFile(rig.DataPath("TIMER"))
               << rig.ReadFile("Corvane.ini");
        return result;
    };
    const QList<QByteArray> source = runIn(Locale("C"));
    ASSERT_EQ(source.size(), 6);
    EXPECT_TRUE(source[0].contains("寄存器数值")) << source[0].toStdString();
    EXPECT_FALSE(source[3].isEmpty());
    for (const char *lang : {"en_US.UTF-8", "zh_CN.UTF-8"}) {
        SCOPED_TRACE(lang);
        EXPECT_EQ(runIn(Locale(lang)), source);
    }
}

} // namespace
