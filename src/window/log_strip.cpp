// The log file's records and headers.
#include <QLabel>
#include <QLockFile>

#include "platform/platform.h"
#include "window/log_strip.h"

LogStrip::LogStrip(QWidget& window, const QString& programFolder, nimbo::Platform& platform)
    : window_(window),
      folder_(programFolder),
      platform_(platform),
      file_(nimbo::FileSystemPath(programFolder) / "Nimbo.csv")
{
    // The names are the design table's.
    Lbl_Log = window.findChild<QLabel*>(QStringLiteral("Lbl_Log"));
}

LogStrip::~LogStrip() = default;

nimbo::WriteResult LogStrip::write(const nimbo::LogRecord& record)
{
    nimbo::WriteResult written;
    if (owedHeader_ != 0) {
        written = file_.writeHeader(owedHeader_, nimbo::WriteMode::Append);
        if (written)
            owedHeader_ = 0;
    }
    if (written)
        written = file_.appendDataLine(record);
    return written;
}

void LogStrip::variantSwitched(int variant)
{
    // A log file that cannot be written must not stop the switch: the window
    // is already relabelled, and the user only needs to know the file lags.
    const nimbo::WriteResult written = file_.writeHeader(variant, nimbo::WriteMode::Append);
    owedHeader_ = written ? 0 : variant;
    if (!written)
        platform_.showMessage(&window_, QStringLiteral("Журнал"),
                              QStringLiteral("Заголовок варианта расчета не записан в файл журнала.\n") +
                                  QString::fromStdString(written.error),
                              nimbo::MessageIcon::Warning);
}
