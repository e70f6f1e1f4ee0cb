#pragma once
#include "data/AppContext.h"

#include <QDialog>
#include <QPixmap>

class QAction;
class QTableView;
class QToolBar;

namespace kodexa {

class MemDataset;

// The user list "Felhasználók adatai": users who may log in, added, edited and deleted
// directly in felhasznalo. Open to every user.
class Tfrm_Felhasznalo final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Felhasznalo)
public:
    explicit Tfrm_Felhasznalo(AppContext &ctx, QWidget *parent = nullptr);
    ~Tfrm_Felhasznalo() override;

    MemDataset &table() const { return *Tbl; }
    QTableView *grid() const { return DBGrid1; }
    // Runs the edit dialog over a new row or the current one; OK writes, Mégsem drops it.
    void EditUser(bool isNew);

    QAction *aUj;
    QAction *aSzerkeszt;
    QAction *aTorol;
    QAction *aBezar;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void deleteUser();
    void command(const std::function<void()> &fn);

    AppContext &ctx_;
    MemDataset *Tbl;
    QToolBar *ToolBar1;
    QTableView *DBGrid1;
};

// The two pictures of the flag columns: one for "I", the other for any other value.
QPixmap UserFlagPixmap(bool yes);

// Creates the list, opens felhasznalo, shows the window modally and closes the table.
void ShowUsers(AppContext &ctx, QWidget *parent = nullptr);

} // namespace kodexa
