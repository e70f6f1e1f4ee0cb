#pragma once
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kodexa {

class Dataset;
class DesktopServices;

// "Felhasználó adatainak szerkesztése": the list's current row, in insert or edit state.
// OK puts the fields into the row and checks the password; writing the row is the caller's.
class Tfrm_FelhasznaloSzerkeszt final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_FelhasznaloSzerkeszt)
public:
    Tfrm_FelhasznaloSzerkeszt(Dataset &ds, DesktopServices &services, QWidget *parent = nullptr);

    // Shows the row's values; the confirmation starts as the stored password.
    void load();
    void btnOKClick();

private:
    Dataset &ds_;
    DesktopServices &services_;
    QLineEdit *DBEdit1;
    QCheckBox *DBCheckBox1;
    QCheckBox *DBCheckBox2;
    QLineEdit *DBEdit3;
    QLineEdit *DBEdit2;
    QLineEdit *Edit1;
    QPushButton *btnOK;
    QPushButton *btnCancel;
};

} // namespace kodexa
