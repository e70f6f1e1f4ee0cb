#pragma once
// The backup chooser (Tfrm_Visszaallit) of the restore command: the backups beside the
// catalogue, newest first, with their date, time, book count and size.

#include "data/Backup.h"

#include <QDialog>

class QTableWidget;

namespace kodexa {

class Tfrm_Visszaallit final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Visszaallit)
public:
    Tfrm_Visszaallit(const QVector<BackupEntry> &backups, QWidget *parent = nullptr);
    ~Tfrm_Visszaallit() override;
    // The chosen backup's path; empty when none is chosen.
    QString chosen() const;

private:
    QVector<BackupEntry> backups_;
    QTableWidget *grid_;
};

} // namespace kodexa
