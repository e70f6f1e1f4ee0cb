#include "app/MainBackup.h"

#include "app/Main.h"
#include "app/Visszaallit.h"
#include "data/Backup.h"
#include "data/DesktopServices.h"
#include "data/Locations.h"
#include "gui/BackgroundWork.h"

namespace kodexa {

namespace {

void BackupNow(Tfrm_Main &main) {
    const QString catalogue = main.Db1().path();
    BackupOutcome done;
    RunWithNote(&main, QStringLiteral("Biztonsági mentés…"), [&] {
        Db db;
        db.open(catalogue);
        done = BackupInto(db, BackupFolderFor(catalogue), BackupKeep());
    });
    main.Services().ShowInfo(QStringLiteral("A biztonsági mentés elkészült:\n%1").arg(done.path), &main);
}

void RestoreFromBackup(Tfrm_Main &main) {
    const QString catalogue = main.Db1().path();
    const QString folder = BackupFolderFor(catalogue);
    const QVector<BackupEntry> backups = ListBackups(folder, catalogue);
    if (backups.isEmpty()) {
        main.Services().ShowInfo(QStringLiteral("Nincs biztonsági mentés ebben a mappában:\n%1").arg(folder), &main);
        return;
    }
    Tfrm_Visszaallit chooser(backups, &main);
    if (chooser.exec() != QDialog::Accepted || chooser.chosen().isEmpty())
        return;
    const QString chosen = chooser.chosen();
    if (!main.Services().AskYesNo(QStringLiteral("A katalógus a kiválasztott mentés állapotára áll vissza:\n%1\n\n"
                                                 "A jelenlegi állapotról előbb mentés készül. Folytatja?")
                                      .arg(chosen),
                                  QStringLiteral("Visszaállítás"), &main))
        return;
    QString saved;
    RunWithNote(&main, QStringLiteral("Visszaállítás…"), [&] {
        Db db;
        db.open(catalogue);
        saved = RestoreBackup(db, chosen, folder, BackupKeep());
    });
    main.ReloadCatalogue();
    main.Services().ShowInfo(
        QStringLiteral("A katalógus visszaállt. A korábbi állapota ide került:\n%1").arg(saved), &main);
}

} // namespace

void AddBackupCommands(Tfrm_Main &main) {
    main.AddCommand(QStringLiteral("aMentes"), [&main] { BackupNow(main); });
    main.AddCommand(QStringLiteral("aVisszaallit"), [&main] { RestoreFromBackup(main); });
}

} // namespace kodexa
