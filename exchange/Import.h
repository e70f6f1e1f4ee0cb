#pragma once
// The import window (Tfrm_Import, "Adatbázis import") and its entry RunImport.

#include "data/AppContext.h"
#include "exchange/core/Import.h"

#include <QDialog>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QToolBar;
class QToolButton;
class QsciScintilla;

namespace kodexa {

// The delimiter choice, the file choice, then the window over the loaded file; nothing
// when either choice is cancelled or the file cannot be read. Gives the number of books
// the window's imports added, so the caller knows whether to read its list again.
qint64 RunImport(AppContext &ctx, QWidget *parent = nullptr);

class Tfrm_Import final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Import)
public:
    Tfrm_Import(AppContext &ctx, QWidget *parent = nullptr);
    ~Tfrm_Import() override;

    // Reads the file into the editor and lists its header's columns, all ticked. An empty
    // file or an empty first line empties the editor and the list and says so, as does a
    // file with a line over ImportLineLimit. Throws FileError when it cannot be read.
    void loadFile(const QString &path, QChar delimiter);
    // The open-file dialog; false when cancelled. On a choice the file is loaded.
    bool chooseAndLoad(QChar delimiter);
    // "Import indítása": every line after the header of the editor's text becomes a book.
    void runImport();
    // The ticked columns with their positions in the header.
    QVector<ImportColumn> tickedColumns() const;
    // Books added by this window's imports so far (committed).
    qint64 storedBooks() const { return stored_; }

public slots:
    void reject() override;

private:
    void aMegnyitExecute();
    void clearFile();
    void numberVisibleLines();

    AppContext &ctx_;
    QChar delimiter_ = QLatin1Char('\t');
    bool busy_ = false;
    bool running_ = false;
    qint64 stored_ = 0;
    QToolBar *ToolBar1 = nullptr;
    QAction *aMegnyit = nullptr;
    QAction *aImport = nullptr;
    QAction *aBezar = nullptr;
    QListWidget *CheckListBox1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QToolButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QLabel *Label2 = nullptr;
    QsciScintilla *SynEdit1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
};

} // namespace kodexa
