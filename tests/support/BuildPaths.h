#pragma once

// Where the build put what the tests run, load and read. Every executable,
// the stand-in probe library and corvane-simchip land side by side in the
// build's bin/ folder; the sources and each test folder's fixtures/ are
// named by the build (corvane_add_test in tests/CMakeLists.txt).

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>

// CORVANE_BIN_DIR, or else the running program's own folder: tests and
// benchmarks land in bin/ too.
inline QString BinDir()
{
    const QString dir = qEnvironmentVariable("CORVANE_BIN_DIR");
    return dir.isEmpty() ? QFileInfo(QFile::symLinkTarget("/proc/self/exe")).absolutePath() : dir;
}
inline QString BinPath(const QString &name)
{
    return BinDir() + u'/' + name;
}
inline QString StandInPath()
{
    return BinPath(QStringLiteral("libjlinkarm.so"));
}
inline QString SimChipProgramPath()
{
    return BinPath(QStringLiteral("corvane-simchip"));
}
inline QString CliProgramPath()
{
    return BinPath(QStringLiteral("corvane-cli"));
}

#ifdef CORVANE_SOURCE_DIR
// A file of the checkout, e.g. "svd/VX21A.svd".
inline QString SourcePath(const QString &relative)
{
    return QStringLiteral(CORVANE_SOURCE_DIR) + u'/' + relative;
}

// The sample vendor SVD files beside the checkout (../shared/svd-samples);
// CORVANE_SVD_SAMPLES names another folder. A fresh clone has none.
inline QString SvdSamplesDir()
{
    const QString chosen = qEnvironmentVariable("CORVANE_SVD_SAMPLES");
    return chosen.isEmpty() ? SourcePath(QStringLiteral("../shared/svd-samples")) : chosen;
}
#endif

#ifdef CORVANE_TEST_FIXTURES
// A file of the test folder's fixtures/. The build names the folder as an
// absolute path: __FILE__ may be relative to a build folder the test does
// not run in.
inline QString FixturePath(const QString &name)
{
    return QStringLiteral(CORVANE_TEST_FIXTURES) + u'/' + name;
}
#endif
