#pragma once
#include <QDialog>
#include <QHash>
#include <QString>

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
    // Whether the user changed the edit's text from what load() showed.
    bool edited(const QLineEdit *e) const;

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
    QHash<const QLineEdit *, QString> shown_; // each edit's text as load() showed it
};

} // namespace kodexa
