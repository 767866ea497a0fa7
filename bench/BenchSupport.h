#pragma once

// What several benchmarks share: the tests' user stand-in printing each
// message, repeated timings, and the large generated SVD file. The tests'
// support (tests/support/) is reachable as "support/...".

#include "support/BuildPaths.h"
#include "support/FakeUser.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <type_traits>
#include <vector>

// The user stand-in of the tests for a chip model and a data source entry,
// printing every message on stderr.
struct QuietUser : FakeUser
{
    QuietUser(const QString &model, int entry)
    {
        chip = model;
        dataSourceEntry = entry;
        onMessage = [](const QString &text) { std::fprintf(stderr, "message: %s", qPrintable(text)); };
    }
};

// Milliseconds of repeated runs of a step; a step that returns false ends
// the measuring as failed.
struct Timing
{
    double median = 0;
    double best = 0;
    double worst = 0;
    bool failed = false;
};

// Wall time, or the thread's processor time: the machine running a bench may
// be shared, and the time other processes take should not count.
enum class Clock { Wall, ThreadCpu };

inline double NowMs(Clock clock)
{
    timespec now{};
    clock_gettime(clock == Clock::Wall ? CLOCK_MONOTONIC : CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

template<typename Step> Timing Measure(int runs, Step &&step, Clock clock = Clock::Wall)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const double start = NowMs(clock);
        if constexpr (std::is_same_v<decltype(step()), bool>) {
            if (!step())
                return Timing{-1, -1, -1, true};
        } else {
            step();
        }
        ms.push_back(NowMs(clock) - start);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back(), false};
}

// Puts the large SVD file at `path`: a copy of CORVANE_LARGE_SVD, or made by
// bench/make_large_svd.py. False (and a line on stderr) when neither worked.
inline bool PutLargeSvd(const QString &path)
{
    const QString source = qEnvironmentVariable("CORVANE_LARGE_SVD");
    if (!source.isEmpty()) {
        if (QFile::copy(source, path))
            return true;
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(source));
        return false;
    }
    // The script by the checkout's path: __FILE__ is relative to the build
    // folder, and benchmarks run from bin/.
    const QString script = SourcePath(QStringLiteral("bench/make_large_svd.py"));
    const std::string command = "python3 '" + script.toStdString() + "' '" + path.toStdString() + "'";
    if (std::system(command.c_str()) == 0)
        return true;
    std::fprintf(stderr, "could not generate %s\n", qPrintable(path));
    return false;
}

// A Corvane.ini for the chip "BENCH" whose peripherals all carry the window
// bits `mask` (1: window 0 only, 15: every window), rows expanded and
// numbers in hexadecimal; the whole section written at once.
inline bool PutWindowIni(const QString &path, const QStringList &names, int mask)
{
    QByteArray text = "[COMMON]\nEXPAND_TYPE=2\nHEX_DEC=1\n[BENCH]\n";
    for (const QString &name : names)
        text += name.toUtf8() + '=' + QByteArray::number(mask) + '\n';
    QFile ini(path);
    return ini.open(QIODevice::WriteOnly) && ini.write(text) == text.size();
}
