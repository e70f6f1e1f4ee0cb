#pragma once
// The settings dialog (Tfrm_Beallit): the settings record's start-up values and the
// catalogue's own settings row, edited together.

#include "data/AppContext.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kodexa {

class MemDataset;

// Runs the dialog; true when it was closed with OK.
bool ShowSettings(AppContext &ctx, QWidget *parent = nullptr);

class Tfrm_Beallit final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Beallit)
public:
    // Fills the controls from the settings record and puts the beallit row into edit mode
    // (a new row when the table is empty).
    explicit Tfrm_Beallit(AppContext &ctx, QWidget *parent = nullptr);
    // Any edit of the row still pending (a close other than OK) is cancelled.
    ~Tfrm_Beallit() override;

    MemDataset &TblBeallit() { return *tbl_; }

    void accept() override;
    void reject() override;

private:
    void BitBtn1Click();
    void BitBtn3Click();
    void bindText(QLineEdit *edit, const QString &field, int maxLength);

    AppContext &ctx_;
    std::unique_ptr<MemDataset> tbl_;
    QCheckBox *CheckBox1 = nullptr;
    QCheckBox *DBCheckBox1 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QLineEdit *Edit3 = nullptr;
    QLineEdit *DBEdit1 = nullptr;
    QLineEdit *DBEdit2 = nullptr;
};

} // namespace kodexa
