#pragma once
// The period dialog of the purchases report: two dates, OK and Mégsem.

#include <QDate>
#include <QDialog>

class QDateEdit;
class QPushButton;

namespace kodexa {

// Presets both dates and asks; true with the two dates as they stand on OK, otherwise
// false and the dates unchanged. The dates are not compared with each other.
bool ChoosePeriod(QDate &first, QDate &last, QWidget *parent = nullptr);

class Tfrm_Idoszak final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Idoszak)
public:
    explicit Tfrm_Idoszak(QWidget *parent = nullptr);

    QDateEdit *eAlso;
    QDateEdit *eFelso;
    QPushButton *Button1;
    QPushButton *Button2;

protected:
    void showEvent(QShowEvent *e) override;
};

} // namespace kodexa
