#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include "platform/platform.h"

namespace nimbo {

QStringList QtTranslationFolders()
{
    return {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations"))};
}

QTranslator* InstallQtTranslation(QCoreApplication& app, const QStringList& folders)
{
    auto* translator = new QTranslator(&app);
    for (const QString& folder : folders)
        if (translator->load(QStringLiteral("qtbase_ru"), folder) && QCoreApplication::installTranslator(translator))
            return translator;
    // Without it Qt's own texts stay English; the program works the same.
    delete translator;
    return nullptr;
}

}  // namespace nimbo
