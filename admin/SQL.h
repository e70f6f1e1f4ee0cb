#pragma once
#include "admin/core/SqlConsole.h"
#include "data/AppContext.h"

#include <QDialog>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QTabWidget;
class QTableView;
class QToolBar;
class QsciScintilla;

namespace kodexa {

class QueryCursorModel;

// The SQL console "SQL lekérdezés": free SQL over a connection of its own to the catalogue,
// a query's rows in a grid read block by block, statements kept in .sql files of the SQL
// folder. A run goes on beside the window, which stays responsive: Esc or "Megszakítás"
// stops it. A transaction the user opens here stays on that connection: the status line
// shows it, and closing the window asks whether to keep its changes.
class Tfrm_SQL final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_SQL)
public:
    explicit Tfrm_SQL(AppContext &ctx, QWidget *parent = nullptr);
    ~Tfrm_SQL() override;

    QueryCursorModel *resultModel() const { return model_; }
    QString fileName() const { return fileName_; }
    bool running() const { return running_; }

    void done(int result) override;

signals:
    // The console's connection committed changes: windows showing the catalogue read it again.
    void dataChanged();

public:

    QAction *aUj;
    QAction *aMegnyit;
    QAction *aMent;
    QAction *aExport;
    QAction *aBezar;
    QAction *aKivag;
    QAction *aMasol;
    QAction *aBeilleszt;
    QAction *aMindet;
    QAction *aFuttat;
    QAction *aMegszakit;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildEditor();
    QMenuBar *buildPlaces();
    void aFuttatExecute();
    void aMegnyitExecute();
    void aMentExecute();
    void aExportExecute();
    // The editing actions act on the editor only while its page is shown.
    void onEditorPage(const std::function<void(QsciScintilla *)> &fn);
    SqlConsole::Outcome runBeside(const QString &text);
    void setRunning(bool on);
    void closeResult();
    // Asks about a transaction left open; false when the window is to stay.
    bool endOpenTransaction();
    // After a run or a commit: the transaction state shown, the other windows told.
    void afterChange();
    void showResult(std::unique_ptr<QueryCursor> cursor);

    AppContext &ctx_;
    SqlConsole console_;
    QString fileName_;
    bool running_ = false;
    QToolBar *ToolBar1;
    QTabWidget *PageControl1;
    QsciScintilla *Memo1;
    QTableView *DBGrid1;
    QueryCursorModel *model_;
    QLabel *StatusBar1;
    QLabel *transactionState_;
    qint64 seenVersion_ = 0; // the windows' connection's data_version last told
    QMenu *PopupMenu1;
    QMenu *PopupMenu2;
};

// Creates the console, shows it modally and destroys it; dataChanged runs whenever the
// console's changes have reached the file.
void ShowSqlConsole(AppContext &ctx, QWidget *parent = nullptr, const std::function<void()> &dataChanged = {});

} // namespace kodexa
