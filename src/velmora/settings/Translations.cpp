#include "velmora/settings/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTranslator>

namespace velmora {

bool installTranslations(QCoreApplication &app, const QLocale &locale)
{
    const QStringList folders{
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/velmora/translations")),
        QStringLiteral(":/i18n"),
    };
    for (const QString &folder : folders) {
        auto *translator = new QTranslator(&app);
        if (translator->load(locale, QStringLiteral("velmora"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
        delete translator;
    }
    return false;
}

} // namespace velmora
