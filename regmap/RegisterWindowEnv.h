#pragma once

#include "link/ConfigFile.h"
#include "link/TargetLinks.h"
#include "link/UserInterfaces.h"

#include <QString>

// What a register window works with: the configuration file, the links of
// the run, the user's side, and the installation folder that holds svd/ and
// data/. The dots per inch are the screen's, fixed at start-up.
struct RegisterWindowEnv
{
    const ConfigFile &config;
    TargetLinks &links;
    UserContext &user;
    QString home;
    int dotsPerInch = 96;
};
