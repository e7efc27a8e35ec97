#pragma once
// The log strip at the foot of the main window: the list of finished
// calculations with its two buttons and its note, the log file every entry is
// copied to, and the list's menu that copies, saves or prints the report of
// the marked entries. The window tells it of three things only: the start,
// a finished calculation and a switch of the variant.
//   log_strip.cpp         the list, its commands, the record and the variant header
//   log_strip_place.cpp   where the log file lives, and the lock against a second copy
//   log_strip_report.cpp  each entry's report block, the list's menu, the report
//
// The strip's controls stay children of the window, made and placed by the
// window's design table like every other control, and this class binds to
// them by name. A widget of its own would move them into coordinates of its
// own: the design table would no longer be the one place of every control's
// rectangle, and the strip could not lie below the window's normal height
// exactly as the design has it.
#include <QImage>
#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "log/log_file.h"
#include "report/calculation_sheet.h"

class QEvent;
class QLabel;
class QListWidget;
class QLockFile;
class QMenu;
class QPoint;
class QPushButton;
class QWidget;

namespace nimbo {
class Platform;
}
namespace nimbo::report {
struct Heading;
}

class LogStrip : public QObject {
    Q_OBJECT
public:
    // `window` holds the strip's controls; it parents the strip's messages,
    // dialogs and menu.
    LogStrip(QWidget& window, const QString& programFolder, nimbo::Platform& platform);
    ~LogStrip() override;

    // Takes Nimbo.csv for this run, the earlier log kept, emptied with the
    // variant-1 header: in the program folder, else in the user's data
    // folder. False when neither will do or another copy of the program
    // holds the log; `failure` then says so for the start-up report.
    bool open(QString& failure);
    // A finished calculation: its line into the file, then its entry at the
    // end of the list, which keeps the report block for the menu.
    void record(const nimbo::LogRecord& record, const nimbo::CalculationSheet& sheet);
    // The header of the variant now chosen, appended to the file.
    void variantSwitched(int variant);
    // The list and its buttons, in the order Tab walks them.
    std::array<QWidget*, 3> tabChain() const;
    // Where a report finds the charts its blocks name.
    void setChartSource(std::function<QImage(const std::string&)> charts) { charts_ = std::move(charts); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // log_strip.cpp
    void bindControls(const QWidget& window);
    void Cmd_DelStr_Click();
    void Cmd_Clear_Click();
    // The marked entries to the clipboard, one a line, in list order.
    void copyEntries();

    // log_strip_place.cpp
    enum class Place { InUse, Taken, Unusable };
    // Takes the folder's Nimbo.csv for this run: locked, the earlier log
    // kept, emptied with the first header. Otherwise `problem` says why.
    Place tryPlace(const QString& folder, bool create, QString& problem);

    // log_strip_report.cpp
    void setUpMenu();
    // Gives the newest list entry its calculation's report block.
    void keepSheet(const nimbo::CalculationSheet& sheet);
    // The commands are offered while there is something for them to do.
    void updateMenu();
    void showMenu(const QPoint& position);
    // The calculations of the marked entries, or of all when none is marked.
    std::vector<nimbo::CalculationSheet> reportSheets() const;
    nimbo::report::Heading reportHeading() const;
    void Mnu_SavePdf_Click();
    void Mnu_Print_Click();
    // A picture of a report block: a chart, else the size's picture.
    QImage picture(const std::string& name) const;

    QWidget& window_;
    QString folder_;
    nimbo::Platform& platform_;
    nimbo::LogFile file_;
    std::function<QImage(const std::string&)> charts_;
    std::unique_ptr<QLockFile> lock_;  // held for the whole run
    // The variant whose header the log file could not take at a switch; it
    // is written before the next data line, so that the line stands under
    // the header of its own variant. 0 when none is owed.
    int owedHeader_ = 0;
    QString reportFolder_;  // where the last report was saved

    QListWidget* LstBx_Log = nullptr;
    QPushButton* Cmd_DelStr = nullptr;
    QPushButton* Cmd_Clear = nullptr;
    QLabel* Lbl_Log = nullptr;
    QMenu* Mnu_Log = nullptr;  // the list's menu
};
