#pragma once
#include "data/AppContext.h"
#include "data/Dataset.h"
#include "edit/core/BookEdit.h"

#include <QDialog>
#include <QHash>

class QCheckBox;
class QImage;
class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace kodexa {

// The book edit dialog (Tfrm_Szerkeszt) on ctx.tbl's current row, or on a new row.
// true when the row was written; otherwise the insert or edit is cancelled.
bool ShowBookEdit(AppContext &ctx, bool isNew, QWidget *parent = nullptr);

// One book on three pages, bound to the book list's row in insert or edit state. OK writes
// the row (lookups resolved first); a refused write keeps the dialog open.
class Tfrm_Szerkeszt final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Szerkeszt)
public:
    // ctx.tbl must already be in insert or edit state.
    explicit Tfrm_Szerkeszt(AppContext &ctx, QWidget *parent = nullptr);
    ~Tfrm_Szerkeszt() override;

    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildDataPage(QWidget *page);
    void buildContentsPage(QWidget *page);
    void buildPicturePage(QWidget *page);
    void setTabChain();
    void fillLists();
    void loadValues();
    // The warning line under the fields: a wrong ISBN check digit, a possible second copy.
    void updateWarnings();
    QVector<TypedField> typedFields() const;
    bool storeValues();
    bool currentKey(qint64 &key) const;
    bool showPicture(const QImage &image);
    void clearPicture(const QString &note = QString());
    void choosePicture();
    void deletePicture();
    void addEditor();

    AppContext &ctx_;
    Record original_; // the row as the dialog found it; every OK starts from it
    QHash<QWidget *, QString> loaded_;
    QHash<QWidget *, QString> columns_;
    QList<QWidget *> textControls_;
    QList<QLineEdit *> numberControls_;
    bool dedikaltLoaded_ = false;

    QTabWidget *PageControl1 = nullptr;
    QLineEdit *DBEdit18 = nullptr;
    QLineEdit *DBEdit6 = nullptr;
    QComboBox *DBComboBox1 = nullptr;
    QComboBox *DBComboBox2 = nullptr;
    QToolButton *BitBtn2 = nullptr;
    QLineEdit *DBEdit8 = nullptr;
    QLineEdit *DBEdit7 = nullptr;
    QComboBox *DBComboBox3 = nullptr;
    QComboBox *DBComboBox4 = nullptr;
    QComboBox *DBComboBox5 = nullptr;
    QComboBox *DBComboBox6 = nullptr;
    QComboBox *DBComboBox7 = nullptr;
    QLineEdit *DBEdit13 = nullptr;
    QLineEdit *DBEdit14 = nullptr;
    QLineEdit *DBEdit15 = nullptr;
    QLineEdit *DBEdit16 = nullptr;
    QComboBox *DBComboBox8 = nullptr;
    QDateEdit *DateTimePicker1 = nullptr;
    QCheckBox *DBCheckBox1 = nullptr;
    QLineEdit *DBEdit19 = nullptr;
    QCheckBox *DBCheckBox2 = nullptr;
    QLabel *lblFigyelem = nullptr;
    QLabel *DBText1 = nullptr;
    QLabel *DBText2 = nullptr;
    QPlainTextEdit *DBMemo1 = nullptr;
    QFrame *Panel1 = nullptr;
    QLabel *Image1 = nullptr;
    QPushButton *Button7 = nullptr;
    QPushButton *Button8 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
};

} // namespace kodexa
