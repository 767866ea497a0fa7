#pragma once

#include "support/ChildRun.h"

// One run of jlink_peer: a separate process that binds the probe library
// through the real search order.
inline ChildRun RunPeer(const QStringList &arguments, const ChildRun::Environment &environment = {})
{
    return ChildRun::Of(BinPath(QStringLiteral("jlink_peer")), arguments, environment);
}
