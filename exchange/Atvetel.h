#pragma once
// "Könyvek átvétele más programból": the wizard over another program's CSV file — the
// file and how it reads, its columns and the book fields they feed, what to do with books
// already there, then the run and its summary. The work itself is exchange/core/CsvImport.

#include "data/AppContext.h"
#include "exchange/core/CsvImport.h"

#include <QWizard>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace kodexa {

// Shows the wizard; gives the number of books added or changed, so the caller knows
// whether to read its list again.
qint64 RunCsvWizard(AppContext &ctx, QWidget *parent = nullptr);

class Tfrm_Atvetel final : public QWizard {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Atvetel)
public:
    enum Page { FilePage, MappingPage, DuplicatesPage, RunPage };

    Tfrm_Atvetel(AppContext &ctx, QWidget *parent = nullptr);
    ~Tfrm_Atvetel() override;

    // Reads the start of the file with the guessed dialect and shows it. Throws FileError.
    void loadFile(const QString &path);
    // The dialect chosen on the first page, and the mapping of the second.
    csv::Dialect dialect() const;
    QVector<csv::Field> mapping() const;
    csv::Duplicates duplicates() const;
    const csv::CsvSummary &summary() const { return summary_; }
    qint64 changedBooks() const { return summary_.added + summary_.filled + summary_.replaced; }

    bool validateCurrentPage() override;

public slots:
    void reject() override;

private:
    QWizardPage *makeFilePage();
    QWizardPage *makeMappingPage();
    QWizardPage *makeDuplicatesPage();
    QWizardPage *makeRunPage();
    void choose();
    void showPreview();
    void fillMapping();
    void countMatches();
    void runImport();
    void saveSummary();
    csv::CsvRun runSettings(bool dryRun) const;

    AppContext &ctx_;
    QString path_;
    csv::Preview preview_;
    csv::CsvSummary summary_;
    bool running_ = false;
    bool stop_ = false;
    bool done_ = false;

    QLineEdit *Edit1 = nullptr;
    QToolButton *BitBtn1 = nullptr;
    QComboBox *cbKodolas = nullptr;
    QComboBox *cbElvalaszto = nullptr;
    QTableWidget *tblElonezet = nullptr;
    QLabel *lblOlvasas = nullptr;
    QTableWidget *tblMezok = nullptr;
    QLabel *lblEgyezes = nullptr;
    QButtonGroup *rgMasodpeldany = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPlainTextEdit *memOsszesites = nullptr;
    QPushButton *btnMentes = nullptr;
};

} // namespace kodexa
