#include "exchange/core/CsvValues.h"

#include "data/Error.h"

#include <QHash>
#include <QRegularExpression>
#include <cmath>

namespace kodexa::csv {

namespace {

struct FieldInfo {
    Field field;
    const char *label;
    const char *key;
};

const FieldInfo Infos[] = {
    {Field::Skip, "Kihagyás", "-"},
    {Field::Title, "cím", "cim"},
    {Field::Subtitle, "alcím", "alcim"},
    {Field::Authors, "szerzők", "szerzo_nev"},
    {Field::AuthorsSorted, "szerzők (családnév, utónév)", "szerzo_csaladnev"},
    {Field::Editors, "szerkesztők (további szerzők)", "szerkesztok"},
    {Field::Publisher, "kiadó", "kiado_nev"},
    {Field::Series, "sorozat", "sorozat_nev"},
    {Field::Volume, "kötetszám", "kotetszam"},
    {Field::Subject, "tárgykör", "targykor_nev"},
    {Field::Genre, "műfaj", "mufaj_nev"},
    {Field::Language, "nyelv", "nyelv_nev"},
    {Field::Shelf, "polc", "polc_nev"},
    {Field::Isbn, "ISBN", "isbn"},
    {Field::Pages, "terjedelem (oldal)", "terjedelem"},
    {Field::Price, "ár", "ar"},
    {Field::Edition, "kiadás", "kiadas"},
    {Field::PurchaseDate, "beszerzés dátuma", "dat_besz"},
    {Field::Keywords, "kulcsszavak", "kulcsszavak"},
    {Field::Contents, "tartalom", "tartalom"},
    {Field::LentTo, "kölcsönvevő", "kolcsonadva_kinek"},
    {Field::LentOn, "kölcsönadás dátuma", "kolcsonadva_dat"},
};

const FieldInfo &InfoOf(Field f) {
    for (const FieldInfo &i : Infos)
        if (i.field == f)
            return i;
    return Infos[0];
}

// Without accents, case or punctuation, words separated by one blank.
QString FoldHeader(const QString &text) {
    const QString d = text.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(d.size());
    for (QChar c : d) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        out += c.isLetterOrNumber() ? c.toLower() : QChar(QLatin1Char(' '));
    }
    return out.simplified();
}

// What header items say, folded. Our own column names and "Excelbe..." labels, the
// fixed export's column names, and what other catalogues, book sites and spreadsheets write.
const QHash<QString, Field> &Dictionary() {
    static const QHash<QString, Field> words = [] {
        const QVector<QPair<Field, const char *>> items{
            {Field::Title, "cim"}, {Field::Title, "title"}, {Field::Title, "konyvcim"}, {Field::Title, "book title"},
            {Field::Subtitle, "alcim"}, {Field::Subtitle, "subtitle"},
            {Field::Authors, "szerzo"}, {Field::Authors, "szerzo nev"}, {Field::Authors, "szerzok"}, {Field::Authors, "iro"},
            {Field::Authors, "author"}, {Field::Authors, "authors"}, {Field::Authors, "primary author"}, {Field::Authors, "creator"},
            {Field::AuthorsSorted, "author l f"}, {Field::AuthorsSorted, "author last first"},
            {Field::AuthorsSorted, "author sort"}, {Field::AuthorsSorted, "szerzo csaladnev"},
            {Field::Editors, "szerkesztok"}, {Field::Editors, "szerkeszto"}, {Field::Editors, "editor"},
            {Field::Editors, "editors"}, {Field::Editors, "additional authors"}, {Field::Editors, "secondary author"},
            {Field::Editors, "tovabbi szerzok"},
            {Field::Publisher, "kiado"}, {Field::Publisher, "kiado nev"}, {Field::Publisher, "publisher"},
            {Field::Publisher, "publication"},
            {Field::Series, "sorozat"}, {Field::Series, "sorozat nev"}, {Field::Series, "series"},
            {Field::Volume, "kotetszam"}, {Field::Volume, "kotet"}, {Field::Volume, "volume"},
            {Field::Subject, "targykor"}, {Field::Subject, "targykor nev"}, {Field::Subject, "subject"},
            {Field::Subject, "subjects"}, {Field::Subject, "temakor"},
            {Field::Genre, "mufaj"}, {Field::Genre, "mufaj nev"}, {Field::Genre, "genre"}, {Field::Genre, "genres"},
            {Field::Language, "nyelv"}, {Field::Language, "nyelv nev"}, {Field::Language, "language"},
            {Field::Language, "languages"},
            {Field::Shelf, "polc"}, {Field::Shelf, "polc nev"}, {Field::Shelf, "shelf"}, {Field::Shelf, "location"},
            {Field::Isbn, "isbn"}, {Field::Isbn, "isbn13"}, {Field::Isbn, "isbns"}, {Field::Isbn, "isbn 13"},
            {Field::Isbn, "ean"},
            {Field::Pages, "terjedelem"}, {Field::Pages, "oldalszam"}, {Field::Pages, "oldal"}, {Field::Pages, "pages"},
            {Field::Pages, "number of pages"}, {Field::Pages, "page count"},
            {Field::Price, "ar"}, {Field::Price, "price"}, {Field::Price, "list price"}, {Field::Price, "purchase price"},
            {Field::Edition, "kiadas"}, {Field::Edition, "edition"},
            {Field::PurchaseDate, "dat besz"}, {Field::PurchaseDate, "beszerzes"}, {Field::PurchaseDate, "beszerzes datuma"},
            {Field::PurchaseDate, "vasarlas"}, {Field::PurchaseDate, "date added"}, {Field::PurchaseDate, "date acquired"},
            {Field::PurchaseDate, "purchase date"}, {Field::PurchaseDate, "acquired"},
            {Field::Keywords, "kulcsszavak"}, {Field::Keywords, "kulcsszo"}, {Field::Keywords, "keywords"},
            {Field::Keywords, "tags"}, {Field::Keywords, "bookshelves"}, {Field::Keywords, "collections"},
            {Field::Contents, "tartalom"}, {Field::Contents, "megjegyzes"}, {Field::Contents, "notes"},
            {Field::Contents, "my review"}, {Field::Contents, "private notes"}, {Field::Contents, "review"},
            {Field::Contents, "comments"}, {Field::Contents, "description"}, {Field::Contents, "summary"},
            {Field::LentTo, "kolcsonadva kinek"}, {Field::LentTo, "kinek"}, {Field::LentTo, "kolcsonvevo"},
            {Field::PurchaseDate, "vasarlas datuma"}, {Field::PurchaseDate, "beszerzes ideje"},
            {Field::LentTo, "loaned"}, {Field::LentTo, "loaned to"}, {Field::LentTo, "lent to"}, {Field::LentTo, "borrower"},
            {Field::LentOn, "kolcsonadva dat"}, {Field::LentOn, "kolcsonadva"}, {Field::LentOn, "date loaned"},
            {Field::LentOn, "lent on"},
        };
        QHash<QString, Field> h;
        for (const auto &[field, word] : items)
            h.insert(QString::fromUtf8(word), field);
        return h;
    }();
    return words;
}

QStringList SplitOn(const QString &text, const QRegularExpression &separator) {
    QStringList out;
    for (const QString &part : text.split(separator))
        if (!part.trimmed().isEmpty())
            out << part.trimmed();
    return out;
}

bool SingleWord(const QString &s) { return !s.trimmed().contains(QLatin1Char(' ')); }

} // namespace

QVector<Field> Fields() {
    QVector<Field> out;
    for (const FieldInfo &i : Infos)
        out << i.field;
    return out;
}

QString FieldLabel(Field f) { return QString::fromUtf8(InfoOf(f).label); }
QString FieldKey(Field f) { return QString::fromUtf8(InfoOf(f).key); }

std::optional<Field> FieldFromKey(const QString &key) {
    for (const FieldInfo &i : Infos)
        if (key.trimmed() == QLatin1String(i.key))
            return i.field;
    return std::nullopt;
}

bool Joins(Field f) { return f == Field::Keywords || f == Field::Contents; }

QVector<Field> SuggestMapping(const QStringList &header) {
    QVector<Field> out(header.size(), Field::Skip);
    QStringList folded;
    for (const QString &h : header)
        folded << FoldHeader(h);
    QHash<Field, int> takenBy;
    for (int i = 0; i < header.size(); ++i) {
        const auto it = Dictionary().constFind(folded[i]);
        if (it == Dictionary().cend())
            continue;
        const Field f = *it;
        // The same name again further on: our own export writes a lookup's key before its
        // name under one label ("polc", "kiado"/"kiadó"), and the later column is the text.
        if (folded.indexOf(folded[i], i + 1) > 0)
            continue;
        if (takenBy.contains(f) && !Joins(f) && f != Field::Isbn)
            continue;
        takenBy.insert(f, i);
        out[i] = f;
    }
    return out;
}

QString MappingText(const QStringList &header, const QVector<Field> &mapping) {
    QString out;
    for (int i = 0; i < header.size() && i < mapping.size(); ++i)
        out += QStringLiteral("%1=%2\n").arg(header[i], FieldKey(mapping[i]));
    return out;
}

QVector<Field> MappingFromText(const QStringList &header, const QString &text) {
    QHash<QString, Field> byName;
    int lineNo = 0;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        ++lineNo;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.lastIndexOf(QLatin1Char('='));
        const std::optional<Field> f = eq > 0 ? FieldFromKey(line.mid(eq + 1)) : std::nullopt;
        if (!f)
            throw Error(QStringLiteral("A megfeleltetés %1. sora nem „fejléc=mező” alakú, vagy ismeretlen mezőt nevez meg: %2")
                            .arg(lineNo)
                            .arg(line));
        byName.insert(line.left(eq).trimmed(), *f);
    }
    QVector<Field> out;
    for (const QString &h : header)
        out << byName.value(h.trimmed(), Field::Skip);
    return out;
}

QString FamilyFirst(const QString &name) {
    const qsizetype comma = name.indexOf(QLatin1Char(','));
    if (comma < 0)
        return name.simplified();
    const QString family = name.left(comma).simplified(), given = name.mid(comma + 1).simplified();
    return given.isEmpty() ? family : family + QLatin1Char(' ') + given;
}

QStringList SplitNames(const QString &field, bool familyFirst) {
    // Most fields hold one name in display order: nothing to split or turn.
    const auto separated = [&field] {
        for (QChar c : field)
            if (c == QLatin1Char(';') || c == QLatin1Char('&') || c == QLatin1Char('|') || c == QLatin1Char(','))
                return true;
        return field.contains(QLatin1String(" and "), Qt::CaseInsensitive) ||
               field.contains(QStringLiteral(" és "), Qt::CaseInsensitive);
    };
    if (!separated())
        return field.trimmed().isEmpty() ? QStringList() : QStringList{field.simplified()};
    static const QRegularExpression separators(QStringLiteral("\\s*(?:;|&|\\||\\s+and\\s+|\\s+és\\s+)\\s*"),
                                               QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    for (const QString &part : SplitOn(field, separators)) {
        QStringList items = part.split(QLatin1Char(','));
        for (QString &s : items)
            s = s.simplified();
        items.removeAll(QString());
        const bool allSingle = std::all_of(items.cbegin(), items.cend(), SingleWord);
        if (items.size() >= 2 && items.size() % 2 == 0 && (familyFirst || allSingle)) {
            for (qsizetype i = 0; i + 1 < items.size(); i += 2) // "Family, Given, Family, Given"
                names << items[i] + QLatin1Char(' ') + items[i + 1];
        } else if (familyFirst || items.size() == 1) {
            names << FamilyFirst(part);
        } else {
            names << items; // "Given Family, Given Family"
        }
    }
    return names;
}

std::optional<QDate> ReadDate(const QString &text, bool yearAllowed) {
    static const QRegularExpression yearFirst(QStringLiteral("^(\\d{4})\\s*[-/.]\\s*(\\d{1,2})\\s*[-/.]\\s*(\\d{1,2})\\.?(?:[T ].*)?$"));
    static const QRegularExpression dayFirst(QStringLiteral("^(\\d{1,2})\\.\\s*(\\d{1,2})\\.\\s*(\\d{4})\\.?$"));
    static const QRegularExpression year(QStringLiteral("^(\\d{4})\\.?$"));
    const QString t = text.trimmed();
    QDate d;
    if (const auto m = yearFirst.match(t); m.hasMatch())
        d = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    else if (const auto m = dayFirst.match(t); m.hasMatch())
        d = QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    else if (const auto m = year.match(t); m.hasMatch() && yearAllowed)
        d = QDate(m.captured(1).toInt(), 1, 1);
    if (!d.isValid() || d.year() < 1000)
        return std::nullopt;
    return d;
}

std::optional<qint64> ReadCount(const QString &text) {
    static const QRegularExpression number(QStringLiteral("\\d{1,3}(?:[ \\x{00A0}]\\d{3})+(?!\\d)|\\d+"));
    const auto m = number.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    QString digits = m.captured(0);
    digits.remove(QLatin1Char(' '));
    digits.remove(QChar(0x00A0));
    bool ok = false;
    const qint64 n = digits.toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

std::optional<qint64> ReadPrice(const QString &text) {
    static const QRegularExpression number(QStringLiteral("\\d[\\d \\x{00A0}.,]*"));
    const auto m = number.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    QString s = m.captured(0).trimmed();
    while (!s.isEmpty() && !s.back().isDigit())
        s.chop(1);
    // A mark followed by one or two digits at the end is the decimal mark; the others group.
    QString whole = s, fraction;
    const qsizetype mark = std::max(s.lastIndexOf(QLatin1Char(',')), s.lastIndexOf(QLatin1Char('.')));
    if (mark >= 0 && s.size() - mark - 1 <= 2) {
        whole = s.left(mark);
        fraction = s.mid(mark + 1);
    }
    static const QRegularExpression grouping(QStringLiteral("[ \\x{00A0}.,]"));
    whole.remove(grouping);
    bool ok = false;
    const double value = (whole + QLatin1Char('.') + (fraction.isEmpty() ? QStringLiteral("0") : fraction)).toDouble(&ok);
    return ok ? std::optional<qint64>(std::llround(value)) : std::nullopt;
}

QString PlainText(const QString &html) {
    static const QRegularExpression breaks(QStringLiteral("<\\s*br\\s*/?\\s*>|</\\s*p\\s*>"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    static const QRegularExpression numeric(QStringLiteral("&#(x?)([0-9a-fA-F]+);"));
    QString s = html;
    s.replace(breaks, QStringLiteral("\n"));
    s.remove(tags);
    QString out;
    qsizetype last = 0;
    for (auto it = numeric.globalMatch(s); it.hasNext();) {
        const auto m = it.next();
        out += QStringView(s).mid(last, m.capturedStart() - last);
        bool ok = false;
        const uint code = m.captured(2).toUInt(&ok, m.captured(1).isEmpty() ? 10 : 16);
        out += ok && code > 0 && code < 0x110000 ? QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1) : m.captured(0);
        last = m.capturedEnd();
    }
    out += QStringView(s).mid(last);
    out.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    out.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    out.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    out.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    out.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    out.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    QStringList lines;
    for (const QString &l : out.split(QLatin1Char('\n')))
        lines << l.simplified();
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines.join(QLatin1Char('\n')).trimmed();
}

QString MatchKey(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            if (c.isLetterOrNumber())
                out += c.toUpper();
            continue;
        }
        // An accented letter without its accent: the first character of its decomposition.
        const QString d = c.decomposition();
        const QChar base = d.isEmpty() ? c : d.front();
        if (base.isLetterOrNumber())
            out += base.toUpper();
    }
    return out;
}

} // namespace kodexa::csv
