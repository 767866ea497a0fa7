#pragma once

// A register window on a chip's SVD file in a bench's own folder, with every
// peripheral of the file in the windows of `mask`.

#include "BenchSupport.h"
#include "link/ConfigFile.h"
#include "link/TargetLinks.h"
#include "regmap/RegisterWindow.h"
#include "regmap/RegisterWindowTable.h"
#include "regmap/SvdDeviceModel.h"

#include <memory>

struct BenchWindow
{
    BenchWindow(const QString &home, const QString &chip, int mask, int dotsPerInch)
        : config(home + QStringLiteral("/Corvane.ini"))
        , quiet(chip, 0)
        , names(SvdDeviceModel::ReadPeripheralNames(SvdDeviceModel::SvdFilePath(home, chip)))
        , links([chip] { return chip; })
    {
        iniWritten = PutWindowIni(config.Path(), names, mask);
        table.SetNextWindowSlot(0);
        window = std::make_unique<RegisterWindow>(RegisterWindowEnv{config, links, user, home, dotsPerInch}, table);
    }

    ConfigFile config;
    QuietUser quiet;
    UserContext user = quiet.Context();
    QStringList names;
    TargetLinks links;
    RegisterWindowTable table;
    bool iniWritten = false;
    std::unique_ptr<RegisterWindow> window;
};
