#pragma once
// Rows of cells as tab-separated text, the way spreadsheets paste it: one
// line a row, each ended by a line break; a cell holding a tab, a line break
// or a double quote goes in double quotes, its quotes doubled.
#include <QList>
#include <QString>
#include <QStringList>

QString TabSeparated(const QList<QStringList>& rows);
