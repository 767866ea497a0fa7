#pragma once

#include <QIcon>

// The application's icon: a chip with pins and a register row, drawn in a
// few sizes so that every place that shows it gets a sharp one.
QIcon AppIcon();
