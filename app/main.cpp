// Kodexa: the catalogue of a private book collection.
#include "app/Main.h"
#include "data/Seged.h"
#include "gui/QtDesktopServices.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kodexa"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kodexa"));
    // A desktop without a language setting still shows Hungarian dates and numbers.
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    kodexa::SetProgramDir(QCoreApplication::applicationDirPath());
    // The standard dialogs speak Hungarian like the rest of the program.
    QTranslator qtHu;
    if (qtHu.load(QStringLiteral("qtbase_hu"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtHu);
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));

    kodexa::QtDesktopServices services;
    kodexa::Tfrm_Main main(services);
    if (!main.FormCreate())
        return 0;
    main.show();
    return app.exec();
}
