#pragma once

#include <QString>
#include <QStringList>

// The Cortex-M33's own peripherals (SCB, NVIC, SysTick, MPU, SAU, DWT, FPU,
// DCB) in an SVD file the installation ships beside the chips' files: any
// register window can show them, also for a chip whose file lacks them.
namespace CorePeripherals {

inline constexpr char kFileName[] = "CortexM33-core.svd";

// "<exeDir>/svd/CortexM33-core.svd"
QString FilePath(const QString &exeDir);

// The core file's peripherals a chip's file does not name, in the core
// file's order. A chip's own peripheral of the same name, whatever its case
// ("SYSTICK" for "SysTick"), stands for the core's.
QStringList Missing(const QStringList &chipNames, const QStringList &coreNames);

} // namespace CorePeripherals
