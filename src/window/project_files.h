#pragma once
// The project file on disk: read at most as much as a project may hold,
// written whole through QSaveFile. Each failure is one message in Russian
// naming the file; the project in memory and an earlier file stay as they
// were.
#include <QString>

#include "project/project.h"

namespace nimbo {

// "" with the project in `out`, or the message (the file named as
// `shownName` gives it) with `out` unchanged.
QString ReadProjectFile(const QString& path, const QString& shownName, Project& out);

// "" when the file at `path` holds the project, or the message.
QString WriteProjectFile(const QString& path, const Project& project);

}  // namespace nimbo
