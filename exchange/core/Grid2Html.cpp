#include "exchange/core/Grid2Html.h"

#include "data/BookList.h"
#include "data/Error.h"
#include "data/Seged.h"
#include "data/ShownText.h"
#include "data/TextFile.h"

#include <QDir>
#include <QFileInfo>

namespace kodexa {

namespace {

// The book list grid's column count: the lent flag and six configurable columns.
constexpr int GroupColspan = 7;

QString AlignmentTag(Qt::AlignmentFlag a) {
    if (a & Qt::AlignRight)
        return QStringLiteral("<p align=\"right\">");
    if (a & Qt::AlignHCenter)
        return QStringLiteral("<p align=\"center\">");
    return QString();
}

// A column of the page with the fixed parts of its cells prepared once.
struct PageColumn {
    int valueIndex = 0; // position in the streamed values
    FieldInfo field;
    QString header;     // the whole header cell line
    QString cellStart;  // a data cell up to its text
};

} // namespace

QString HtmlFileName(const QString &title) { return FileSlug(title + QStringLiteral(".htm")); }

int HtmlColumnPercent(int columnWidth, int gridWidth) {
    return gridWidth > 0 ? RoundHalfEven(columnWidth * 100.0 / gridWidth) : 0;
}

int WriteGridHtml(const QString &path, const Dataset &rows, const HtmlGrid &grid, const HtmlPageText &page) {
    // The columns bound to a field, and the group field, are the values read from each row.
    QStringList names;
    QVector<PageColumn> columns;
    auto valueIndex = [&](const QString &name) {
        const int i = rows.fieldIndex(name);
        if (i < 0)
            throw ProgramError(QStringLiteral("Ismeretlen mező: %1").arg(name));
        const qsizetype at = names.indexOf(name);
        if (at >= 0)
            return int(at);
        names << name;
        return int(names.size() - 1);
    };
    for (const HtmlColumn &c : grid.columns) {
        if (c.field.isEmpty())
            continue;
        PageColumn pc;
        pc.valueIndex = valueIndex(c.field);
        pc.field = rows.fields().fields[rows.fieldIndex(c.field)];
        const QString width = QString::number(HtmlColumnPercent(c.width, grid.width));
        const QString align = AlignmentTag(c.alignment.value_or(DefaultAlignment(pc.field)));
        pc.header = QStringLiteral("    <td width=\"%1%\" bgcolor=\"#C0C0C0\"><font face=\"Verdana\" size=\"1\"><strong>%2%3</strong></font></td>")
                        .arg(width, align, c.caption.toHtmlEscaped());
        pc.cellStart = QStringLiteral("    <td width=\"%1%\"><font face=\"Verdana\" size=\"1\">%2").arg(width, align);
        columns << pc;
    }
    const bool grouped = !page.groupField.isEmpty();
    const int groupIndex = grouped ? valueIndex(page.groupField) : -1;
    const FieldInfo groupInfo = grouped ? rows.fields().fields[rows.fieldIndex(page.groupField)] : FieldInfo();

    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir))
        throw FileError(QStringLiteral("%1: a mappa nem hozható létre").arg(dir));
    Cp1250Writer out(path);
    const QString title = page.title.toHtmlEscaped();
    for (const QString &l : {QStringLiteral("<html>"), QString(), QStringLiteral("<head>"),
                             QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">"),
                             QStringLiteral("<title>%1</title>").arg(title),
                             QStringLiteral("<meta name=\"GENERATOR\" content=\"Ferolin Bt. Grid2Html\">"),
                             QStringLiteral("</head>"), QString(), QStringLiteral("<body>"),
                             QStringLiteral("<p><strong><font face=\"Verdana\" size=\"2\">%1</font></strong></p>").arg(title),
                             QStringLiteral("<p><strong><font face=\"Verdana\" size=\"1\">%1</font></strong></p>").arg(page.subtitle.toHtmlEscaped()),
                             QStringLiteral("<div align=\"center\"><center>"), QString(),
                             QStringLiteral("<table border=\"1\" cellpadding=\"3\" cellspacing=\"0\" width=\"90%\">"),
                             QStringLiteral("  <tr>")})
        out.line(l);
    for (const PageColumn &c : columns)
        out.line(c.header);
    out.line(QStringLiteral("  </tr>"));

    const QString rowStart = QStringLiteral("  <tr>");
    const QString rowEnd = QStringLiteral("  </tr>");
    const QString cellEnd = QStringLiteral("</font></td>");
    const QString groupStart = QStringLiteral("    <td width=\"95%\" colspan=\"%1\" bgcolor=\"#EAEAEA\"><font face=\"Verdana\" size=\"1\"><strong>")
                                   .arg(GroupColspan);
    const QString groupEnd = QStringLiteral("</strong></font></td>");
    const QLocale locale;
    QString group;
    int count = 0;
    auto writeRow = [&](const QVector<QVariant> &v) {
        if (grouped) {
            const QString text = ShownText(groupInfo, v[groupIndex], locale);
            if (text != group) {
                group = text;
                out.line(rowStart);
                out.text() += groupStart;
                out.text() += group.toHtmlEscaped();
                out.text() += groupEnd;
                out.lineDone();
                out.line(rowEnd);
            }
        }
        out.line(rowStart);
        for (const PageColumn &c : columns) {
            out.text() += c.cellStart;
            out.text() += ShownText(c.field, v[c.valueIndex], locale).toHtmlEscaped();
            out.text() += cellEnd;
            out.lineDone();
        }
        out.line(rowEnd);
        ++count;
    };
    if (const auto *list = qobject_cast<const BookList *>(&rows)) {
        list->forEachRow(names, writeRow);
    } else {
        QVector<int> indexes;
        for (const QString &n : names)
            indexes << rows.fieldIndex(n);
        QVector<QVariant> v(indexes.size());
        for (int r = 0; r < rows.recordCount(); ++r) {
            for (int i = 0; i < indexes.size(); ++i)
                v[i] = rows.valueAt(r, indexes[i]);
            writeRow(v);
        }
    }

    for (const QString &l : {QStringLiteral("</table>"), QStringLiteral("</center></div>"), QString(),
                             QStringLiteral("<p><font face=\"Verdana\" size=\"1\">Összesen %1 sor.</font></p>").arg(count), QString(),
                             QStringLiteral("<p><font face=\"Verdana\" size=\"1\">%1</font></p>")
                                 .arg(page.now.toString(QStringLiteral("yyyy.MM.dd HH:mm:ss"))),
                             QString(), QStringLiteral("<p><font face=\"Courier New\" size=\"1\">Kodexa 1.0.0.67</font></p>"), QString(),
                             QStringLiteral("</body>"), QStringLiteral("</html>")})
        out.line(l);
    out.finish();
    return count;
}

} // namespace kodexa
