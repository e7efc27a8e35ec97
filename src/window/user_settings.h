#pragma once
// Where the program keeps the user's habits (the finder's limits, the
// project window's recent files): an INI file on every system, the Windows
// registry included, so that a test or a portable copy can point the user's
// settings folder elsewhere.
#include <QSettings>

namespace nimbo {

QSettings UserSettings();

}  // namespace nimbo
