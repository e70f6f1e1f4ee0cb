#pragma once
#include "data/AppContext.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

class QWidget;
class QTableView;

namespace kodexa {

class MemDataset;

// The field display configuration (Tfrm_Mezo); may change the sort column and its caption.
void ShowFieldConfig(AppContext &ctx, QString &sortField, QString &sortCaption, QWidget *parent = nullptr);

// "Képernyőn megjelenő mezők": the rows of mezo in position order; every change is written at once.
class Tfrm_Mezo final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Mezo)
public:
    Tfrm_Mezo(AppContext &ctx, QString &sortField, QString &sortCaption, QWidget *parent = nullptr);
    ~Tfrm_Mezo() override;

    // "Fel", "Le" and "Sorrend" on the current row.
    void moveUp();
    void moveDown();
    void markSort();
    // Position (mezo) of the current row; 0 when there is none.
    int currentPosition() const;
    const MemDataset &table() const { return *TblM_; }

private:
    // Reopens mezo and makes the row at this position current.
    void reopen(int position);
    void run(const std::function<int(int)> &change);

    AppContext &ctx_;
    QString &sortField_;
    QString &sortCaption_;
    std::unique_ptr<MemDataset> TblM_;
    QTableView *DBGrid1 = nullptr;
};

} // namespace kodexa
