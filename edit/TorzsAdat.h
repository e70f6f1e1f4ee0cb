#pragma once
#include "data/AppContext.h"
#include "edit/core/MasterData.h"

#include <QDialog>
#include <QString>

class QAction;
class QLineEdit;
class QMenu;
class QTabWidget;
class QTableView;
class QToolBar;
class QWidget;

namespace kodexa {

class MemDataset;

struct MasterPick {
    bool accepted = false; // pick mode: the user chose a row
    qint64 key = 0;
    QString name;
};
// The master data editor (Tfrm_TorzsAdat) on table index 0 szerzo .. 5 polc; browse or pick mode.
// The list opens on the row with initialKey, or on its first row when there is none.
MasterPick ChooseMasterData(AppContext &ctx, int tableIndex, bool pick, QWidget *parent = nullptr,
                            qint64 initialKey = -1);

class Tfrm_TorzsAdat final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_TorzsAdat)
public:
    Tfrm_TorzsAdat(AppContext &ctx, int tableIndex, bool pick, QWidget *parent = nullptr);

    // Opens the chosen table on the row whose key is initialKey (the first row when none).
    void openAt(qint64 initialKey);
    MemDataset &dataset() const { return *tbl_[index_]; }
    const MasterTable &table() const { return MasterTableAt(index_); }
    QTableView *grid() const { return grid_[index_]; }
    bool pickMode() const { return pick_; }

    QAction *aUj;
    QAction *aSzerkeszt;
    QAction *aTorol;
    QAction *aExport;
    QAction *aElfogad;
    QAction *aBezar;

private:
    QWidget *makePage(int i);
    void addNames();
    void renameRow();
    void deleteRow();
    void exportList();
    void search(const QString &typed);
    void command(void (Tfrm_TorzsAdat::*fn)());

    AppContext &ctx_;
    const int index_;
    const bool pick_;
    QToolBar *toolBar_;
    QTabWidget *pages_;
    QMenu *popup_;
    MemDataset *tbl_[MasterTableCount];
    QLineEdit *edit_[MasterTableCount];
    QTableView *grid_[MasterTableCount];
};

} // namespace kodexa
