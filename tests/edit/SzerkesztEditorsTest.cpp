// The editors button of the book edit dialog, driven through the real author chooser.
#include "edit/Szerkeszt.h"

#include "support/Fixture.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace kodexa {
// Defined only while the chooser is a placeholder; the real one leaves this null.
extern const bool kodexaChooseMasterDataIsStub __attribute__((weak));
} // namespace kodexa

using namespace kodexa;
using namespace kodexa::test;

namespace {

class SzerkesztEditorsTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        if (&kodexaChooseMasterDataIsStub != nullptr)
            GTEST_SKIP() << "the author chooser is not in this build yet";
        openCatalogue();
        db.exec(QStringLiteral("INSERT INTO szerzo VALUES (1, 'Szabó Magda', 'SZABO MAGDA'), "
                               "(2, 'Weöres Sándor', 'WEORES SANDOR')"));
    }
};

// Presses the editors button and answers the chooser: the author whose name starts with
// prefix, or cancel when prefix is empty.
void PickEditor(QWidget *dialog, const QString &prefix) {
    WhenModal([prefix](QWidget *chooser) {
        auto *d = qobject_cast<QDialog *>(chooser);
        ASSERT_NE(d, nullptr);
        QAction *accept = nullptr;
        for (QAction *a : d->findChildren<QAction *>())
            if (a->objectName() == QLatin1String("aElfogad"))
                accept = a;
        if (prefix.isEmpty() || !accept) {
            if (!prefix.isEmpty())
                ADD_FAILURE() << "no aElfogad in the chooser";
            d->reject();
            return;
        }
        if (auto *search = d->findChild<QLineEdit *>(QStringLiteral("Edit1")))
            TypeText(search, prefix);
        accept->trigger();
        if (d->isVisible()) {
            ADD_FAILURE() << "the chooser stayed open";
            d->reject();
        }
    });
    Child<QToolButton>(dialog, QStringLiteral("BitBtn2"))->click();
}

TEST_F(SzerkesztEditorsTest, ButtonAddsChosenAuthorsToEditors) {
    WhenModal([&](QWidget *w) {
        auto *editors = Child<QComboBox>(w, QStringLiteral("DBComboBox2"));
        PickEditor(w, QStringLiteral("Szab"));
        EXPECT_EQ(editors->currentText(), QStringLiteral("Szabó Magda"));
        PickEditor(w, QStringLiteral("Weo"));
        EXPECT_EQ(editors->currentText(), QStringLiteral("Szabó Magda; Weöres Sándor"));
        // A cancelled choice changes nothing.
        PickEditor(w, QString());
        EXPECT_EQ(editors->currentText(), QStringLiteral("Szabó Magda; Weöres Sándor"));
        Child<QLineEdit>(w, QStringLiteral("DBEdit6"))->setText(QStringLiteral("Versek"));
        Child<QPushButton>(w, QStringLiteral("Button1"))->click();
    });
    EXPECT_TRUE(ShowBookEdit(*ctx, true));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT szerkesztok || '|' || szerkesztoks FROM konyvek")).toString(),
              QStringLiteral("Szabó Magda; Weöres Sándor|SZABO MAGDA; WEORES "));
}

} // namespace
