#include "edit/Szerkeszt.h"

#include "data/Catalogue.h"
#include "data/Kozos.h"
#include "edit/core/Picture.h"
#include "gui/Widgets.h"
#include "support/Fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace kodexa;
using namespace kodexa::test;

namespace {

class SzerkesztTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        openCatalogue();
    }
    // Runs the dialog; action gets it while it is shown and is expected to close it.
    bool runDialog(bool isNew, const std::function<void(QDialog *)> &action) {
        bool ran = false;
        WhenModal([&](QWidget *w) {
            ran = true;
            auto *d = qobject_cast<QDialog *>(w);
            ASSERT_NE(d, nullptr);
            action(d);
            if (d->isVisible()) {
                ADD_FAILURE() << "the dialog was left open";
                d->reject();
            }
        });
        const bool posted = ShowBookEdit(*ctx, isNew);
        EXPECT_TRUE(ran);
        EXPECT_EQ(tbl->state(), DsState::Browse);
        return posted;
    }
    QVariant sql(const QString &text) { return db.scalar(text); }
    QString jpeg(const QString &name, QSize size) {
        QImage img(size, QImage::Format_RGB32);
        img.fill(QColor(200, 40, 40));
        const QString p = path(name);
        EXPECT_TRUE(img.save(p, "JPG"));
        return p;
    }
};

void Ok(QDialog *d) { Child<QPushButton>(d, QStringLiteral("Button1"))->click(); }
void Cancel(QDialog *d) { Child<QPushButton>(d, QStringLiteral("Button2"))->click(); }
void SetCombo(QDialog *d, const char *name, const QString &text) {
    Child<QComboBox>(d, QString::fromLatin1(name))->setEditText(text);
}

TEST_F(SzerkesztTest, NewBookGetsKeyDefaultsAndLookupsOnOk) {
    BookInput b;
    b.cim = QStringLiteral("Régi könyv");
    b.kiado = QStringLiteral("Mezei Kiado");
    b.nyelv = QStringLiteral("magyar");
    AddBook(db, b);
    db.exec(QStringLiteral("UPDATE konyvek SET konyvek=41; UPDATE nyelv SET nyelv=7"));
    reopenList();

    const bool posted = runDialog(true, [&](QDialog *d) {
        EXPECT_EQ(d->objectName(), QStringLiteral("frm_Szerkeszt"));
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Szerkesztés"));
        // Key and defaults are in place before the dialog shows.
        EXPECT_EQ(tbl->state(), DsState::Insert);
        EXPECT_EQ(tbl->text(QStringLiteral("konyvek")), QStringLiteral("42"));
        EXPECT_EQ(tbl->text(QStringLiteral("dedikalt")), QStringLiteral("N"));
        EXPECT_EQ(tbl->text(QStringLiteral("kolcsonadva")), QStringLiteral("N"));
        EXPECT_EQ(tbl->text(QStringLiteral("dat_besz")), QDate::currentDate().toString(Qt::ISODate));
        EXPECT_EQ(Child<QLineEdit>(d, QStringLiteral("DBEdit18"))->text(), QStringLiteral("00042"));
        EXPECT_EQ(Child<QDateEdit>(d, QStringLiteral("DateTimePicker1"))->date(), QDate::currentDate());
        EXPECT_FALSE(Child<QCheckBox>(d, QStringLiteral("DBCheckBox1"))->isChecked());
        EXPECT_EQ(d->focusWidget(), Child<QLineEdit>(d, QStringLiteral("DBEdit6")));
        // The lists come from the lookup tables.
        auto *publishers = Child<QComboBox>(d, QStringLiteral("DBComboBox4"));
        ASSERT_EQ(publishers->count(), 1);
        EXPECT_EQ(publishers->itemText(0), QStringLiteral("Mezei Kiado"));

        TypeText(Child<QLineEdit>(d, QStringLiteral("DBEdit6")), QStringLiteral("Az ünnepélyes pillanat"));
        TypeText(Child<QComboBox>(d, QStringLiteral("DBComboBox1")), QStringLiteral("Örkény István"));
        SetCombo(d, "DBComboBox4", QStringLiteral("mezei kiado"));
        SetCombo(d, "DBComboBox8", QStringLiteral("szlovák"));
        SetCombo(d, "DBComboBox3", QStringLiteral("A3"));
        TypeText(Child<QLineEdit>(d, QStringLiteral("DBEdit15")), QStringLiteral("312"));
        Child<QCheckBox>(d, QStringLiteral("DBCheckBox1"))->setChecked(true);
        Child<QDateEdit>(d, QStringLiteral("DateTimePicker1"))->setDate(QDate(2020, 2, 29));
        Ok(d);
    });
    EXPECT_TRUE(posted);
    EXPECT_TRUE(services.messages.isEmpty());

    const QString book = QStringLiteral(" FROM konyvek WHERE konyvek=42");
    EXPECT_EQ(sql(QStringLiteral("SELECT cim || '|' || cims") + book).toString(),
              QStringLiteral("Az ünnepélyes pillanat|AZ UNNEPELYES PILLAN"));
    EXPECT_EQ(sql(QStringLiteral("SELECT dat_besz || dedikalt || kolcsonadva || terjedelem") + book).toString(),
              QStringLiteral("2020-02-29IN312"));
    // An existing name is linked in its stored form; new names get new rows.
    EXPECT_EQ(sql(QStringLiteral("SELECT kiado_nev || '|' || kiado_nevs || '|' || (kiado = (SELECT kiado FROM kiado))") + book).toString(),
              QStringLiteral("Mezei Kiado|MEZEI KIADO|1"));
    EXPECT_EQ(sql(QStringLiteral("SELECT count(*) FROM kiado")).toInt(), 1);
    EXPECT_EQ(sql(QStringLiteral("SELECT szerzo || '|' || szerzo_nev || '|' || szerzo_nevs") + book).toString(),
              QStringLiteral("1|Örkény István|ORKENY ISTVAN"));
    EXPECT_EQ(sql(QStringLiteral("SELECT szerzo_nevs FROM szerzo WHERE szerzo=1")).toString(), QStringLiteral("ORKENY ISTVAN"));
    EXPECT_EQ(sql(QStringLiteral("SELECT nyelv FROM nyelv WHERE nyelv_nev='szlovák'")).toInt(), 8);
    EXPECT_EQ(sql(QStringLiteral("SELECT nyelv || nyelv_nev") + book).toString(), QStringLiteral("8szlovák"));
    EXPECT_EQ(sql(QStringLiteral("SELECT polc || polc_nev") + book).toString(), QStringLiteral("1A3"));
    // Empty lookups stay empty: nothing was made for the series.
    EXPECT_EQ(sql(QStringLiteral("SELECT count(*) FROM sorozat")).toInt(), 0);
    EXPECT_EQ(tbl->recordCount(), 2);
}

TEST_F(SzerkesztTest, EditWritesOnlyChangesAndShowsLending) {
    BookInput b;
    b.cim = QStringLiteral("Macskafogó");
    b.szerzo = QStringLiteral("Szabó Magda");
    b.szerkesztok = QStringLiteral("Kovács Béla");
    b.kiadas = 3;
    b.ar = 1200;
    b.kolcsonKinek = QStringLiteral("Nagy Éva");
    b.kolcsonDat = QStringLiteral("2024-05-06");
    b.tartalom = QStringLiteral("első sor\nmásodik sor");
    b.kiado = QStringLiteral("Szépirodalmi Könyvkiadó és Nyomda Részvénytársaság");
    const qint64 key = AddBook(db, b);
    // A row made by free SQL: no purchase date.
    db.exec(QStringLiteral("UPDATE konyvek SET dat_besz=NULL"));
    reopenList();
    ASSERT_TRUE(tbl->locateKey(key));

    const bool posted = runDialog(false, [&](QDialog *d) {
        EXPECT_EQ(tbl->state(), DsState::Edit);
        EXPECT_EQ(Child<QLineEdit>(d, QStringLiteral("DBEdit6"))->text(), QStringLiteral("Macskafogó"));
        EXPECT_EQ(Child<QComboBox>(d, QStringLiteral("DBComboBox1"))->currentText(), QStringLiteral("Szabó Magda"));
        EXPECT_EQ(Child<QPlainTextEdit>(d, QStringLiteral("DBMemo1"))->toPlainText(), QStringLiteral("első sor\nmásodik sor"));
        EXPECT_EQ(Child<QDateEdit>(d, QStringLiteral("DateTimePicker1"))->date(), QDate::currentDate());
        auto *lent = Child<QCheckBox>(d, QStringLiteral("DBCheckBox2"));
        EXPECT_TRUE(lent->isChecked());
        // Shown as read-only: lending changes it, not a click.
        EXPECT_FALSE(lent->isEnabled());
        QTest::mouseClick(lent, Qt::LeftButton);
        EXPECT_TRUE(lent->isChecked());
        // A name longer than its box shows its beginning.
        auto *publisher = Child<QComboBox>(d, QStringLiteral("DBComboBox4"));
        EXPECT_EQ(publisher->currentText(), b.kiado);
        EXPECT_EQ(publisher->lineEdit()->cursorPosition(), 0);
        EXPECT_EQ(Child<QLabel>(d, QStringLiteral("DBText1"))->text(), QStringLiteral("2024.05.06."));
        EXPECT_EQ(Child<QLabel>(d, QStringLiteral("DBText2"))->text(), QStringLiteral("Nagy Éva"));

        Child<QLineEdit>(d, QStringLiteral("DBEdit13"))->clear();
        SetCombo(d, "DBComboBox1", QString());
        Ok(d);
    });
    EXPECT_TRUE(posted);
    const QString book = QStringLiteral(" FROM konyvek WHERE konyvek=%1").arg(key);
    // The cleared edition is NULL, not 0; the picker's date is written.
    EXPECT_TRUE(sql(QStringLiteral("SELECT kiadas IS NULL") + book).toBool());
    EXPECT_EQ(sql(QStringLiteral("SELECT ar") + book).toInt(), 1200);
    EXPECT_EQ(sql(QStringLiteral("SELECT dat_besz") + book).toString(), QDate::currentDate().toString(Qt::ISODate));
    // A cleared author keeps the old key; name and search key go empty.
    EXPECT_EQ(sql(QStringLiteral("SELECT szerzo || '|' || ifnull(szerzo_nev, '') || '|' || szerzo_nevs") + book).toString(),
              QStringLiteral("1||"));
    EXPECT_EQ(sql(QStringLiteral("SELECT kolcsonadva || kolcsonadva_kinek || szerkesztok") + book).toString(),
              QStringLiteral("INagy ÉvaKovács Béla"));
}

TEST_F(SzerkesztTest, EntriesHoldWholeNumbersAndColumnLengths) {
    runDialog(true, [&](QDialog *d) {
        auto *price = Child<QLineEdit>(d, QStringLiteral("DBEdit16"));
        TypeText(price, QStringLiteral("12a,5"));
        EXPECT_EQ(price->text(), QStringLiteral("125"));
        auto *isbn = Child<QLineEdit>(d, QStringLiteral("DBEdit7"));
        TypeText(isbn, QString(25, QLatin1Char('9')));
        EXPECT_EQ(isbn->text().size(), 20);
        auto *shelf = Child<QComboBox>(d, QStringLiteral("DBComboBox3"));
        TypeText(shelf, QStringLiteral("Nappali polc 12"));
        EXPECT_EQ(shelf->currentText(), QStringLiteral("Nappali po"));
        // The contents column holds 2048 characters: more is refused, not cut.
        auto *memo = Child<QPlainTextEdit>(d, QStringLiteral("DBMemo1"));
        memo->setPlainText(QString(2049, QLatin1Char('x')));
        Ok(d);
        ASSERT_EQ(services.messages.size(), 1);
        EXPECT_EQ(services.messages[0].caption, QStringLiteral("Figyelmeztetés"));
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(tbl->state(), DsState::Insert);
        memo->setPlainText(QString(2048, QLatin1Char('x')));
        Ok(d);
    });
    EXPECT_EQ(sql(QStringLiteral("SELECT ar || isbn || length(tartalom) FROM konyvek")).toString(),
              QStringLiteral("125") + QString(20, QLatin1Char('9')) + QStringLiteral("2048"));
}

TEST_F(SzerkesztTest, EnterMovesOnExceptInContentsAndFocusIsSkyBlue) {
    runDialog(true, [&](QDialog *d) {
        auto *title = Child<QLineEdit>(d, QStringLiteral("DBEdit6"));
        auto *author = Child<QComboBox>(d, QStringLiteral("DBComboBox1"));
        ASSERT_TRUE(title->hasFocus());
        EXPECT_EQ(title->palette().color(QPalette::Base), FocusColour);
        QTest::keyClick(title, Qt::Key_Return);
        EXPECT_TRUE(author->hasFocus());
        EXPECT_NE(title->palette().color(QPalette::Base), FocusColour);
        // On through a combo and the date picker as well.
        QTest::keyClick(author, Qt::Key_Return);
        EXPECT_TRUE(Child<QComboBox>(d, QStringLiteral("DBComboBox2"))->hasFocus());
        auto *picker = Child<QDateEdit>(d, QStringLiteral("DateTimePicker1"));
        picker->setFocus();
        QTest::keyClick(picker, Qt::Key_Return);
        auto *signed_ = Child<QCheckBox>(d, QStringLiteral("DBCheckBox1"));
        EXPECT_TRUE(signed_->hasFocus());
        // The check box is a field too; from the last field Enter reaches OK, which it presses.
        QTest::keyClick(signed_, Qt::Key_Return);
        EXPECT_TRUE(Child<QLineEdit>(d, QStringLiteral("DBEdit19"))->hasFocus());
        EXPECT_TRUE(d->isVisible());

        title->setText(QStringLiteral("Jegyzetek"));
        Child<QTabWidget>(d, QStringLiteral("PageControl1"))->setCurrentIndex(1);
        auto *memo = Child<QPlainTextEdit>(d, QStringLiteral("DBMemo1"));
        const QColor memoColour = memo->palette().color(QPalette::Base);
        memo->setFocus();
        // The memo keeps its colour: only edits, combo boxes and the date picker turn blue.
        EXPECT_EQ(memo->palette().color(QPalette::Base), memoColour);
        EXPECT_NE(memoColour, FocusColour);
        TypeText(memo, QStringLiteral("egy"));
        QTest::keyClick(memo, Qt::Key_Return);
        TypeText(memo, QStringLiteral("kettő"));
        EXPECT_TRUE(memo->hasFocus());
        Child<QTabWidget>(d, QStringLiteral("PageControl1"))->setCurrentIndex(0);
        auto *keywords = Child<QLineEdit>(d, QStringLiteral("DBEdit19"));
        keywords->setFocus();
        QTest::keyClick(keywords, Qt::Key_Return);
        auto *ok = Child<QPushButton>(d, QStringLiteral("Button1"));
        ASSERT_TRUE(ok->hasFocus());
        QTest::keyClick(ok, Qt::Key_Return);
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_EQ(sql(QStringLiteral("SELECT tartalom FROM konyvek")).toString(), QStringLiteral("egy\nkettő"));
}

TEST_F(SzerkesztTest, EscapeDropsNewBookAndFreesItsKey) {
    EXPECT_FALSE(runDialog(true, [&](QDialog *d) {
        TypeText(Child<QLineEdit>(d, QStringLiteral("DBEdit6")), QStringLiteral("Elvetett"));
        QTest::keyClick(d, Qt::Key_Escape);
    }));
    EXPECT_EQ(sql(QStringLiteral("SELECT count(*) FROM konyvek")).toInt(), 0);
    EXPECT_EQ(tbl->recordCount(), 0);
    runDialog(true, [&](QDialog *d) {
        EXPECT_EQ(Child<QLineEdit>(d, QStringLiteral("DBEdit18"))->text(), QStringLiteral("00001"));
        EXPECT_EQ(Child<QLineEdit>(d, QStringLiteral("DBEdit6"))->text(), QString());
        Cancel(d);
    });
}

TEST_F(SzerkesztTest, PictureChosenStaysAfterCancelAndShowsForNextBook) {
    const QString wide = jpeg(QStringLiteral("wide.jpg"), {490, 317});
    const QString small = jpeg(QStringLiteral("small.jpg"), {200, 100});
    const QString target = PicturePath(1);
    services.fileAnswers = {wide};
    runDialog(true, [&](QDialog *d) {
        Child<QPushButton>(d, QStringLiteral("Button7"))->click();
        EXPECT_EQ(services.fileDialogs, QStringList{QStringLiteral("Játékos kép választás")});
        EXPECT_TRUE(QFile::exists(target));
        auto *image = Child<QLabel>(d, QStringLiteral("Image1"));
        EXPECT_FALSE(image->pixmap().isNull());
        EXPECT_EQ(image->geometry(), QRect(0, 79, 245, 158));
        Cancel(d);
    });
    EXPECT_EQ(sql(QStringLiteral("SELECT count(*) FROM konyvek")).toInt(), 0);
    EXPECT_TRUE(QFile::exists(target));

    // The next new book gets the same key and with it the picture; a smaller one replaces it.
    services.fileAnswers = {small};
    runDialog(true, [&](QDialog *d) {
        auto *image = Child<QLabel>(d, QStringLiteral("Image1"));
        EXPECT_EQ(image->geometry(), QRect(0, 79, 245, 158));
        Child<QPushButton>(d, QStringLiteral("Button7"))->click();
        EXPECT_EQ(image->geometry(), QRect(22, 108, 200, 100));
        Cancel(d);
    });
    EXPECT_EQ(QImage(target).size(), QSize(200, 100));
    EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(SzerkesztTest, PictureDeleteAsksAndBadPicturesChangeNothing) {
    BookInput b;
    b.cim = QStringLiteral("Képes könyv");
    const qint64 key = AddBook(db, b);
    reopenList();
    const QString target = PicturePath(key);
    writeFile(target, "no picture here");
    writeFile(QStringLiteral("fake.jpg"), "not a jpeg either");
    services.fileAnswers = {path(QStringLiteral("fake.jpg"))};
    // A stored picture that cannot be read: the dialog still opens, without it.
    runDialog(false, [&](QDialog *d) {
        EXPECT_TRUE(Child<QLabel>(d, QStringLiteral("Image1"))->pixmap().isNull());
        Cancel(d);
    });

    const QString good = jpeg(QStringLiteral("good.jpg"), {100, 634});
    services.fileAnswers = {good, path(QStringLiteral("fake.jpg"))};
    runDialog(false, [&](QDialog *d) {
        auto *image = Child<QLabel>(d, QStringLiteral("Image1"));
        Child<QPushButton>(d, QStringLiteral("Button7"))->click();
        EXPECT_EQ(image->geometry(), QRect(97, 0, 50, 317));
        // A file that is no picture is refused and the good picture stays.
        Child<QPushButton>(d, QStringLiteral("Button7"))->click();
        EXPECT_EQ(services.errorTexts().size(), 1);
        EXPECT_EQ(QImage(target).size(), QSize(100, 634));
        EXPECT_TRUE(d->isVisible());

        services.yesNoAnswers = {false};
        Child<QPushButton>(d, QStringLiteral("Button8"))->click();
        EXPECT_TRUE(QFile::exists(target));
        services.yesNoAnswers = {true};
        Child<QPushButton>(d, QStringLiteral("Button8"))->click();
        EXPECT_FALSE(QFile::exists(target));
        EXPECT_TRUE(image->pixmap().isNull());
        ASSERT_EQ(services.questions.size(), 2);
        EXPECT_EQ(services.questions[1].caption, QStringLiteral("Megerősítés"));
        EXPECT_EQ(services.questions[1].text, QStringLiteral("Valóban töröljem a képet?"));
        // No picture: nothing is asked.
        Child<QPushButton>(d, QStringLiteral("Button8"))->click();
        EXPECT_EQ(services.questions.size(), 2);
        Cancel(d);
    });
    EXPECT_FALSE(QFile::exists(target));
}

TEST_F(SzerkesztTest, RefusedPostKeepsDialogOpenAndWritesNothing) {
    db.exec(QStringLiteral("CREATE TRIGGER tiltott BEFORE INSERT ON konyvek WHEN NEW.cim = 'Tilos' "
                           "BEGIN SELECT RAISE(ABORT, 'ez a cím tiltott'); END"));
    const bool posted = runDialog(true, [&](QDialog *d) {
        auto *title = Child<QLineEdit>(d, QStringLiteral("DBEdit6"));
        TypeText(title, QStringLiteral("Tilos"));
        SetCombo(d, "DBComboBox4", QStringLiteral("Új Kiadó"));
        Ok(d);
        EXPECT_EQ(services.errorTexts(), QStringList{QStringLiteral("ez a cím tiltott")});
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(tbl->state(), DsState::Insert);
        EXPECT_EQ(title->text(), QStringLiteral("Tilos"));
        // Corrected, the same dialog writes the book.
        title->setText(QStringLiteral("Szabad"));
        Ok(d);
    });
    EXPECT_TRUE(posted);
    EXPECT_EQ(sql(QStringLiteral("SELECT group_concat(cim || kiado || kiado_nev) FROM konyvek")).toString(),
              QStringLiteral("Szabad1Új Kiadó"));
    // The publisher made on the refused attempt is found again, not made twice.
    EXPECT_EQ(sql(QStringLiteral("SELECT count(*) FROM kiado")).toInt(), 1);

    db.exec(QStringLiteral("CREATE TRIGGER nincs BEFORE UPDATE ON konyvek "
                           "BEGIN SELECT RAISE(ABORT, 'nem módosítható'); END"));
    tbl->first();
    services.messages.clear();
    EXPECT_FALSE(runDialog(false, [&](QDialog *d) {
        Child<QLineEdit>(d, QStringLiteral("DBEdit6"))->setText(QStringLiteral("Más"));
        Ok(d);
        EXPECT_EQ(services.errorTexts(), QStringList{QStringLiteral("nem módosítható")});
        Cancel(d);
    }));
    EXPECT_EQ(sql(QStringLiteral("SELECT cim FROM konyvek")).toString(), QStringLiteral("Szabad"));
    EXPECT_EQ(tbl->text(QStringLiteral("cim")), QStringLiteral("Szabad"));
}

TEST_F(SzerkesztTest, PositionIsRemembered) {
    runDialog(true, [&](QDialog *d) {
        EXPECT_EQ(d->pos(), QPoint(10, 10));
        d->move(120, 80);
        Cancel(d);
    });
    runDialog(true, [&](QDialog *d) {
        EXPECT_EQ(d->pos(), QPoint(120, 80));
        Cancel(d);
    });
}

} // namespace

// A wrong ISBN check digit and a book that may be there already are said under the fields;
// neither keeps the book from being saved.
TEST_F(SzerkesztTest, AWrongIsbnAndAPossibleSecondCopyAreWarnedOfNotRefused) {
    BookInput b;
    b.cim = QStringLiteral("Egri csillagok");
    b.szerzo = QStringLiteral("Gárdonyi Géza");
    AddBook(db, b);
    db.exec(QStringLiteral("UPDATE konyvek SET isbn = '978-963-123456-5'"));
    reopenList();
    const auto warnings = [](QDialog *d) { return Child<QLabel>(d, QStringLiteral("lblFigyelem"))->text(); };
    const bool posted = runDialog(true, [&](QDialog *d) {
        EXPECT_EQ(warnings(d), QString());
        auto *isbn = Child<QLineEdit>(d, QStringLiteral("DBEdit7"));
        TypeText(isbn, QStringLiteral("963-123-456-7"));
        emit isbn->editingFinished();
        EXPECT_EQ(warnings(d), QStringLiteral("Az ISBN ellenőrző jegye hibás: 9631234567"));
        isbn->setText(QStringLiteral("963 123 456 8")); // the ISBN-10 of the book above
        emit isbn->editingFinished();
        EXPECT_EQ(warnings(d), QStringLiteral("Lehetséges másodpéldány: 00001 Egri csillagok"));
        isbn->clear();
        TypeText(Child<QLineEdit>(d, QStringLiteral("DBEdit6")), QStringLiteral("egri  csillagok"));
        TypeText(Child<QComboBox>(d, QStringLiteral("DBComboBox1")), QStringLiteral("GÁRDONYI GÉZA"));
        emit Child<QLineEdit>(d, QStringLiteral("DBEdit6"))->editingFinished();
        EXPECT_EQ(warnings(d), QStringLiteral("Lehetséges másodpéldány: 00001 Egri csillagok"));
        Ok(d);
    });
    EXPECT_TRUE(posted);
    EXPECT_EQ(sql(QStringLiteral("SELECT count(*) FROM konyvek")).toInt(), 2);
    // The book itself is no second copy of itself when it is edited.
    runDialog(false, [&](QDialog *d) {
        EXPECT_EQ(warnings(d), QString());
        Cancel(d);
    });
}
