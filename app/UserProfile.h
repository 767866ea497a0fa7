#pragma once

#include <QSettings>
#include <QString>

// The per-user profile: the frame's look and layout, the register windows'
// columns, the folders last chosen for each purpose.
namespace UserProfile {

inline constexpr char kCompany[] = "应用程序向导生成的本地应用程序";
inline constexpr char kAppName[] = "Corvane";

inline QSettings Open()
{
    return QSettings(QString::fromUtf8(kCompany), QString::fromLatin1(kAppName));
}

} // namespace UserProfile
