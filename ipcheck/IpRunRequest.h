#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// An IP list row as the run sees it: taken on the user-interface thread when
// the run is requested, so a rebuild of the list during a run changes nothing
// for it.
struct IpRunRow
{
    QString name;
    bool checked = false;
    bool enabled = false;
};

// Everything one cycle of the worker works from.
struct IpRunRequest
{
    // RunRequest: -1 for every checked row, otherwise the index of one row.
    int32_t runRequest = -1;
    std::vector<IpRunRow> rows;
    QString pathField; // the IP check window's analyzer folder field
    QString chipModel; // the chip selector's text
    QString uartPort;  // text of the serial port list
    QString uartSpeed; // text of the UART speed list
};
