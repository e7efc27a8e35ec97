#pragma once
// The log strip at the foot of the main window: the log file every finished
// calculation is copied to. The window tells it of three things only: the
// start, a finished calculation and a switch of the variant.
//   log_strip.cpp         the record and the variant header
//   log_strip_place.cpp   where the log file lives, and the lock against a second copy
//
// The strip's controls stay children of the window, made and placed by the
// window's design table like every other control, and this class binds to
// them by name. A widget of its own would move them into coordinates of its
// own: the design table would no longer be the one place of every control's
// rectangle, and the strip could not lie below the window's normal height
// exactly as the design has it.
#include <QObject>
#include <QString>

#include <memory>

#include "log/log_file.h"

class QLabel;
class QLockFile;
class QWidget;

namespace nimbo {
class Platform;
}

class LogStrip : public QObject {
    Q_OBJECT
public:
    // `window` holds the strip's controls; it parents the strip's messages.
    LogStrip(QWidget& window, const QString& programFolder, nimbo::Platform& platform);
    ~LogStrip() override;

    // Takes Nimbo.csv for this run, the earlier log kept, emptied with the
    // variant-1 header: in the program folder, else in the user's data
    // folder. False when neither will do or another copy of the program
    // holds the log; `failure` then says so for the start-up report.
    bool open(QString& failure);
    // A finished calculation's line into the file, under the header of its
    // own variant.
    nimbo::WriteResult write(const nimbo::LogRecord& record);
    // The header of the variant now chosen, appended to the file.
    void variantSwitched(int variant);

private:
    // log_strip_place.cpp
    enum class Place { InUse, Taken, Unusable };
    // Takes the folder's Nimbo.csv for this run: locked, the earlier log
    // kept, emptied with the first header. Otherwise `problem` says why.
    Place tryPlace(const QString& folder, bool create, QString& problem);

    QWidget& window_;
    QString folder_;
    nimbo::Platform& platform_;
    nimbo::LogFile file_;
    std::unique_ptr<QLockFile> lock_;  // held for the whole run
    // The variant whose header the log file could not take at a switch; it
    // is written before the next data line, so that the line stands under
    // the header of its own variant. 0 when none is owed.
    int owedHeader_ = 0;

    QLabel* Lbl_Log = nullptr;
};
