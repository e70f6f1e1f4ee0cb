#pragma once
// The delimited text export dialog (Tfrm_Hatarolt, "Határolt szöveg export") and its entry
// ExportDelimited, which the main window, the reports and the SQL console call.

#include "exchange/core/Delimited.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace kodexa {

class DesktopServices;
class RowSource;

// Shows the export dialog over source, modally, and returns when the user closes it.
// fileName presets the file name field (and the save dialog); fixedFormat is the
// "Adatbázis export" mode: Tab, no qualifier, every column, only the file name free.
// The source stays the caller's: BookListSource for the book list, QuerySource for any
// query (a report's, the SQL console's), FixedExportSource for "Adatbázis export".
void ExportDelimited(RowSource &source, const QString &fileName, bool fixedFormat, DesktopServices &services,
                     QWidget *parent = nullptr);

class Tfrm_Hatarolt final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Hatarolt)
public:
    Tfrm_Hatarolt(RowSource &source, DesktopServices &services, QWidget *parent = nullptr);
    ~Tfrm_Hatarolt() override;

    void setFixedFormat();
    void setFileName(const QString &fileName);
    // "Export indítás": writes the file with the dialog's choices.
    void startExport();
    // "Megállít": the running export stops after the row it is on.
    void stopExport() { running_ = false; }
    bool exporting() const { return busy_; }
    DelimitedOptions options() const;

public slots:
    void reject() override;

private:
    void chooseFile();
    void tickAll(bool on);

    RowSource &source_;
    DesktopServices &services_;
    bool running_ = false; // the stop flag: cleared by "Megállít"
    bool busy_ = false;
    bool fixedFormat_ = false;
    QListWidget *CheckListBox1 = nullptr;
    QPushButton *Button4 = nullptr;
    QPushButton *Button5 = nullptr;
    QButtonGroup *delimiters_ = nullptr;
    QButtonGroup *qualifiers_ = nullptr;
    QButtonGroup *encodings_ = nullptr;
    QWidget *RadioGroup2 = nullptr;
    QWidget *RadioGroup1 = nullptr;
    QWidget *RadioGroup3 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *Button2 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
};

} // namespace kodexa
