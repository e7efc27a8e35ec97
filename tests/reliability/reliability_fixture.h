#pragma once
// What the reliability tests compare beside the shared window fixture: the
// log file's lines and their expected bytes.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <array>
#include <string>

#include "calc/calculation.h"
#include "calculation_check.h"
#include "text/cp1251.h"
#include "support/window_fixture.h"

namespace nimbo::test {

inline QByteArray Cp1251(const QString& text)
{
    return QByteArray::fromStdString(cp1251::fromUtf8(text.toStdString()));
}

// The lines of a file, each with its line end; a last line without one is
// kept as it is, so that a half-written line shows.
inline QList<QByteArray> FileLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    qsizetype from = 0;
    while (from < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', from);
        const qsizetype end = lf < 0 ? bytes.size() : lf + 1;
        lines.append(bytes.mid(from, end - from));
        from = end;
    }
    return lines;
}

}  // namespace nimbo::test
