#pragma once
#include "data/AppContext.h"

#include <QDialog>
#include <memory>

class QWidget;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

namespace kodexa {

class DatasetTableModel;
class MemDataset;

// The keyword search (Tfrm_Keres); on a choice the book list moves to the chosen book.
// true when a book was chosen and the list now stands on it.
bool KeywordSearch(AppContext &ctx, QWidget *parent = nullptr);

// "Kulcsszó keresés": a search page and a result page over the query Qry.
class Tfrm_Keres final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Keres)
public:
    Tfrm_Keres(AppContext &ctx, QWidget *parent = nullptr);
    ~Tfrm_Keres() override;

    // The konyvek key of the current result row; 0 when there is none or it is empty.
    qint64 chosenKey() const;
    // Runs the search for the text of Edit1 (the "Keres" button).
    void search();
    // Orders the result by a grid column's field (a title click); nothing before a search.
    void sortByColumn(int column);
    const MemDataset &query() const { return *Qry_; }

protected:
    void showEvent(QShowEvent *e) override;

private:
    void choose();
    void placeAtParentCorner();

    AppContext &ctx_;
    std::unique_ptr<MemDataset> Qry_;
    QString sql_;
    DatasetTableModel *model_ = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button3 = nullptr;
    QTableView *DBGrid1 = nullptr;
};

} // namespace kodexa
