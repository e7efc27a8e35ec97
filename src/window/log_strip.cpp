// The list of finished calculations and its commands; each record goes to the
// file first and to the list second.
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLockFile>
#include <QPushButton>
#include <QStringList>

#include "platform/platform.h"
#include "window/log_strip.h"

LogStrip::LogStrip(QWidget& window, const QString& programFolder, nimbo::Platform& platform)
    : window_(window),
      folder_(programFolder),
      platform_(platform),
      file_(nimbo::FileSystemPath(programFolder) / "Nimbo.csv")
{
    bindControls(window);
    connect(Cmd_DelStr, &QPushButton::clicked, this, &LogStrip::Cmd_DelStr_Click);
    connect(Cmd_Clear, &QPushButton::clicked, this, &LogStrip::Cmd_Clear_Click);
    LstBx_Log->setAccessibleName(QStringLiteral("Журнал расчетов"));
    LstBx_Log->installEventFilter(this);
    setUpMenu();
}

LogStrip::~LogStrip() = default;

void LogStrip::bindControls(const QWidget& window)
{
    // The names are the design table's.
    LstBx_Log = window.findChild<QListWidget*>(QStringLiteral("LstBx_Log"));
    Cmd_DelStr = window.findChild<QPushButton*>(QStringLiteral("Cmd_DelStr"));
    Cmd_Clear = window.findChild<QPushButton*>(QStringLiteral("Cmd_Clear"));
    Lbl_Log = window.findChild<QLabel*>(QStringLiteral("Lbl_Log"));
}

std::array<QWidget*, 3> LogStrip::tabChain() const
{
    return {LstBx_Log, Cmd_DelStr, Cmd_Clear};
}

void LogStrip::record(const nimbo::LogRecord& record, const nimbo::CalculationSheet& sheet)
{
    // The list entry stays even when the file cannot take the line: the user
    // is told, and the next calculation tries the file again.
    nimbo::WriteResult written;
    if (owedHeader_ != 0) {
        written = file_.writeHeader(owedHeader_, nimbo::WriteMode::Append);
        if (written)
            owedHeader_ = 0;
    }
    if (written)
        written = file_.appendDataLine(record);
    LstBx_Log->addItem(QString::fromStdString(record.listLine()));
    keepSheet(sheet);
    LstBx_Log->scrollToBottom();
    if (!written)
        platform_.showMessage(&window_, QStringLiteral("Журнал расчетов"),
                              QStringLiteral("Расчет выполнен, но строка не записана в файл журнала.\n") +
                                  QString::fromStdString(written.error),
                              nimbo::MessageIcon::Warning);
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

void LogStrip::Cmd_DelStr_Click()
{
    // The entry the user marked; with none marked, the oldest.
    int i = 0;
    const QList<QListWidgetItem*> selected = LstBx_Log->selectedItems();
    if (LstBx_Log->currentItem() && LstBx_Log->currentItem()->isSelected())
        i = LstBx_Log->currentRow();
    else if (!selected.isEmpty())
        i = LstBx_Log->row(selected.first());
    if (LstBx_Log->count() > 0)
        delete LstBx_Log->takeItem(i);
}

void LogStrip::Cmd_Clear_Click()
{
    LstBx_Log->clear();
}

void LogStrip::copyEntries()
{
    QStringList lines;
    for (int i = 0; i < LstBx_Log->count(); ++i)
        if (LstBx_Log->item(i)->isSelected())
            lines << LstBx_Log->item(i)->text();
    if (!lines.isEmpty())
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

bool LogStrip::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl+C in the list copies the marked entries, one a line, in list order.
    if (watched != LstBx_Log || (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride))
        return QObject::eventFilter(watched, event);
    if (!static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
        return QObject::eventFilter(watched, event);
    event->accept();
    if (event->type() == QEvent::KeyPress)
        copyEntries();
    return true;
}
