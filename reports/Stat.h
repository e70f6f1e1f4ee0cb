#pragma once
// The statistics window (Tfrm_Stat): four totals of the collection and the books per genre.

#include "data/AppContext.h"

#include <QDialog>
#include <memory>

class QLabel;
class QTableView;

namespace kodexa {

class MemDataset;
class DatasetTableModel;

void ShowStatistics(AppContext &ctx, QWidget *parent = nullptr);

class Tfrm_Stat final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Stat)
public:
    // Reads the totals and opens the genre table; nothing is written.
    explicit Tfrm_Stat(AppContext &ctx, QWidget *parent = nullptr);
    ~Tfrm_Stat() override;

    // The number shown in row 0..3 (books, authors, publishers, value).
    QString numberText(int row) const;

private:
    AppContext &ctx_;
    std::unique_ptr<MemDataset> qry_;
    DatasetTableModel *model_ = nullptr;
    QLabel *numbers_[4] = {};
    QTableView *DBGrid1 = nullptr;
};

} // namespace kodexa
