// Draws every picture the product range names into a folder:
//     make_pictures <range folder> <picture folder>
// The pictures depend on the range texts alone: the same texts give the
// same pixels, and the JPEG encoder turns the same pixels into the same bytes.
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSet>

#include <cstdio>

#include "drawings.h"
#include "range.h"

int main(int argc, char** argv)
{
    // Drawing needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: make_pictures <range folder> <picture folder>\n");
        return 2;
    }
    nimbo::range::Range range;
    std::string error;
    if (!nimbo::range::ReadRange(args[1].toStdString(), range, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    QDir folder(args[2]);
    if (!folder.mkpath(".")) {
        std::fprintf(stderr, "%s: папка не создаётся\n", qPrintable(args[2]));
        return 1;
    }
    QSet<QString> written;
    for (const nimbo::range::Drawing* d : range.drawings()) {
        QString problem;
        const QImage image = nimbo::pictures::Draw(*d, problem);
        if (image.isNull()) {
            std::fprintf(stderr, "%s\n", qPrintable(problem));
            return 1;
        }
        const QString file = QString::fromStdString(d->name) + ".jpg";
        QImageWriter writer(folder.filePath(file), "jpeg");
        writer.setQuality(90);
        if (!writer.write(image)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(folder.filePath(file)), qPrintable(writer.errorString()));
            return 1;
        }
        written.insert(file);
    }
    // Pictures that no longer belong to the range are left alone but named,
    // so that whoever removed a model can remove its picture too.
    for (const QString& file : folder.entryList({"*.jpg"}, QDir::Files))
        if (!written.contains(file))
            std::fprintf(stderr, "не из ассортимента: %s\n", qPrintable(folder.filePath(file)));
    return 0;
}
