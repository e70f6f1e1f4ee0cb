// Read-me and about windows: the fixed text, edits gone on closing, the printed pages.
#include "admin/Nevjegy.h"
#include "admin/Readme.h"
#include "admin/core/Readme.h"
#include "support/Fixture.h"

#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>

using namespace kodexa;
using namespace kodexa::test;

namespace {

class ReadmeTest : public ProgramDirTest {
protected:
    QString run(const QString &program, const QStringList &args) {
        QProcess p;
        p.start(program, args);
        EXPECT_TRUE(p.waitForFinished(30000)) << program.toStdString();
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    // Word boxes of a PDF page: text, xMin, yMin, xMax, yMax in points.
    struct Word {
        QString text;
        double x0, y0, x1, y1;
    };
    QVector<Word> words(const QString &pdf, int page) {
        const QString html = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                                                               QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
        static const QRegularExpression re(QStringLiteral(
            R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
        QVector<Word> r;
        for (auto it = re.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            r.append({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                      m.captured(4).toDouble()});
        }
        return r;
    }
};

constexpr double Mm = 72.0 / 25.4;

TEST_F(ReadmeTest, TextIsTheTermsOfUseAndTypedChangesAreGoneOnReopening) {
    const QString text = ReadmeText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Felhasználói szerződés\n")));
    for (const char *point : {"biztonsági másolat", "nem vállal felelősséget", "egy gépen", "saját felelősségére"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(point))) << point;
    {
        Tfrm_Readme w(services);
        w.show();
        auto *memo = Child<QPlainTextEdit>(&w, QStringLiteral("Memo1"));
        EXPECT_EQ(memo->toPlainText(), text);
        EXPECT_FALSE(memo->isReadOnly()) << "the text may be edited in the window";
        EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        EXPECT_EQ(memo->font().family(), QStringLiteral("Lucida Console"));
        EXPECT_EQ(memo->font().pointSize(), 9);
        memo->setFocus();
        TypeText(memo, QStringLiteral("Átírva"));
        EXPECT_NE(memo->toPlainText(), text);
        Child<QPushButton>(&w, QStringLiteral("Button2"))->click();
        EXPECT_EQ(w.result(), QDialog::Rejected);
    }
    Tfrm_Readme again(services);
    EXPECT_EQ(Child<QPlainTextEdit>(&again, QStringLiteral("Memo1"))->toPlainText(), text);
    EXPECT_EQ(again.windowTitle(), QStringLiteral("Fontos információk"));
}

TEST_F(ReadmeTest, PrintedPagesKeepTheMarginsHeaderAndFooter) {
    const QString pdf = path(QStringLiteral("readme.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer, QString::fromUtf8(ReadmeTitle));
    EXPECT_EQ(printer.docName(), QStringLiteral("Felhasználói szerződés"));
    EXPECT_EQ(printer.copyCount(), 1);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    // Long enough for three pages; a tab stands for eight characters.
    QString text = ReadmeText();
    text += QStringLiteral("\tbehúzott\n");
    for (int i = 1; i <= 120; ++i)
        text += QStringLiteral("Sor %1\n").arg(i);
    const int pages = PrintPlainText(printer, QString::fromUtf8(ReadmeTitle), text);
    EXPECT_GE(pages, 3);
    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pages))));
    const QString all = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    EXPECT_TRUE(all.contains(QStringLiteral("Sor 120")));
    EXPECT_TRUE(all.contains(QStringLiteral("%1. oldal").arg(pages)));
    EXPECT_TRUE(run(QStringLiteral("pdffonts"), {pdf}).contains(QStringLiteral("Mono"))) << "a typewriter face";

    const double pageWidth = 210 * Mm, pageHeight = 297 * Mm;
    const QVector<Word> w = words(pdf, 1);
    ASSERT_GT(w.size(), 50);
    // The header is the title, 15 mm from the top; the body starts 25 mm down, 25 mm in.
    EXPECT_EQ(w[0].text, QStringLiteral("Felhasználói"));
    EXPECT_NEAR(w[0].y0, 15 * Mm, 2.5);
    EXPECT_NEAR(w[0].x0, 25 * Mm, 1.5);
    double right = 0, bottom = 0;
    for (const Word &word : w) {
        EXPECT_GE(word.x0, 25 * Mm - 1) << word.text.toStdString();
        if (word.text != QStringLiteral("oldal") && word.text != QStringLiteral("1."))
            bottom = std::max(bottom, word.y1);
        right = std::max(right, word.x1);
    }
    EXPECT_LE(right, pageWidth - 15 * Mm + 1);
    EXPECT_GT(right, pageWidth - 15 * Mm - 25) << "lines are wrapped at the right margin, not far before";
    EXPECT_LE(bottom, pageHeight - 25 * Mm + 1);
    // The page number sits 15 mm above the bottom edge.
    const auto footer = std::find_if(w.begin(), w.end(), [](const Word &x) { return x.text == QStringLiteral("oldal"); });
    ASSERT_NE(footer, w.end());
    EXPECT_NEAR(footer->y1, pageHeight - 15 * Mm, 2.5);
    // A tab moves its word eight characters in (a typewriter face is about 0.6 em wide).
    bool found = false;
    for (int page = 1; page <= pages && !found; ++page)
        for (const Word &word : words(pdf, page))
            if (word.text == QStringLiteral("behúzott")) {
                found = true;
                EXPECT_NEAR(word.x0 - 25 * Mm, 8 * 0.6 * 9, 3);
            }
    EXPECT_TRUE(found);
}

TEST_F(ReadmeTest, AboutBoxShowsNameVersionAndContact) {
    Tfrm_Nevjegy w(services, QStringLiteral("https://kodexa.example.org"), QStringLiteral("info@kodexa.example.org"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Névjegy"));
    EXPECT_EQ(w.size(), QSize(319, 343));
    EXPECT_EQ(Child<QLabel>(&w, QStringLiteral("ProductName"))->text(), QStringLiteral("Kodexa\nV1.0.0.67"));
    const QString contact = Child<QLabel>(&w, QStringLiteral("Contact"))->text();
    EXPECT_TRUE(contact.contains(QStringLiteral("https://kodexa.example.org")));
    EXPECT_TRUE(contact.contains(QStringLiteral("info@kodexa.example.org")));
    EXPECT_FALSE(Child<QLabel>(&w, QStringLiteral("ProgramIcon"))->pixmap().isNull());
    w.show();
    auto *ok = Child<QPushButton>(&w, QStringLiteral("OKButton"));
    EXPECT_TRUE(ok->isDefault());
    ok->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

} // namespace
