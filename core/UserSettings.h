#pragma once

#include <QSettings>

// The user's settings file (organisation and application "zanfor-layout"):
// what the program keeps from one run to the next.
inline QSettings userSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("zanfor-layout"),
                     QStringLiteral("zanfor-layout"));
}
