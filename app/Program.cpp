// Kodexa: the catalogue of a private book collection. The program's entry point.
#include "app/Main.h"
#include "data/Error.h"
#include "data/Locations.h"
#include "gui/QtDesktopServices.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>

namespace {

// The last line of defence: every window guards its own reads and commands, but whatever
// still escapes an event handler is shown in the error box instead of ending the program.
class KodexaApplication final : public QApplication {
public:
    KodexaApplication(int &argc, char **argv, kodexa::DesktopServices &services)
        : QApplication(argc, argv), services_(services) {}

    bool notify(QObject *receiver, QEvent *event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception &e) {
            report(kodexa::ErrorText(e));
        } catch (...) {
            report(QStringLiteral("Ismeretlen hiba"));
        }
        return false;
    }

private:
    void report(const QString &text) {
        // Once per run of failures, after the event in progress (it may have been a paint).
        if (reporting_)
            return;
        reporting_ = true;
        QTimer::singleShot(0, this, [this, text] {
            services_.ShowError(text);
            reporting_ = false;
        });
    }

    kodexa::DesktopServices &services_;
    bool reporting_ = false;
};

} // namespace

int main(int argc, char **argv) {
    kodexa::QtDesktopServices services;
    KodexaApplication app(argc, argv, services);
    // No display name: Qt would add " — Kodexa" to every window's caption.
    QApplication::setApplicationName(QStringLiteral("Kodexa"));
    // A desktop without a language setting still shows Hungarian dates and numbers.
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    kodexa::UseLocationsFor(QCoreApplication::applicationDirPath());
    // The standard dialogs speak Hungarian like the rest of the program.
    QTranslator qtHu;
    if (qtHu.load(QStringLiteral("qtbase_hu"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtHu);
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));

    return kodexa::RunProgram(services);
}
