#include "window/user_settings.h"

namespace nimbo {

QSettings UserSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Nimbo"), QStringLiteral("Nimbo"));
}

}  // namespace nimbo
