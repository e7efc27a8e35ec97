#include "window/tab_separated.h"

namespace {

QString Cell(QString text)
{
    if (!text.contains(QLatin1Char('\t')) && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')) &&
        !text.contains(QLatin1Char('"')))
        return text;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

}  // namespace

QString TabSeparated(const QList<QStringList>& rows)
{
    QString out;
    for (const QStringList& row : rows) {
        QStringList cells;
        for (const QString& cell : row)
            cells << Cell(cell);
        out += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return out;
}
