#include "data/Seged.h"

#include "data/Error.h"
#include "data/Settings.h"

#include <QSettings>
#include <cfenv>
#include <cmath>

namespace kodexa {

namespace {
QString &programDirStore() {
    static QString dir;
    return dir;
}

inline bool isAsciiLetter(QChar c) {
    const ushort u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

inline QChar asciiUpper(QChar c) {
    const ushort u = c.unicode();
    return (u >= 'a' && u <= 'z') ? QChar(u - 32) : c;
}
} // namespace

void SetProgramDir(const QString &dir) {
    QString d = dir;
    while (d.size() > 1 && d.endsWith(QLatin1Char('/')))
        d.chop(1);
    programDirStore() = d;
}

QString ProgramDir() { return programDirStore(); }

QString ProgramPath(const QString &name) { return ProgramDir() + QLatin1Char('/') + name; }

QString VarToText(const QVariant &v) {
    if (!v.isValid() || v.isNull())
        return QString();
    return v.toString();
}

QDate StoredDate(const QVariant &value) {
    if (value.typeId() == QMetaType::QDate)
        return value.toDate();
    const QString s = VarToText(value).trimmed();
    // The well-formed text is read by hand: the general parser shows when a grid page is drawn.
    if (s.size() >= 10 && s[4] == QLatin1Char('-') && s[7] == QLatin1Char('-')) {
        int n[10];
        bool digits = true;
        for (int i = 0; i < 10 && digits; ++i) {
            n[i] = s[i].unicode() - '0';
            digits = i == 4 || i == 7 || (n[i] >= 0 && n[i] <= 9);
        }
        if (digits)
            return QDate(n[0] * 1000 + n[1] * 100 + n[2] * 10 + n[3], n[5] * 10 + n[6], n[8] * 10 + n[9]);
    }
    // Rows written by other tools may carry a time after the date.
    return QDate::fromString(s.left(10), QStringLiteral("yyyy-MM-dd"));
}

int VarToInt(const QVariant &v) {
    if (!v.isValid() || v.isNull())
        return 0;
    bool ok = false;
    int r;
    if (v.typeId() == QMetaType::QString) {
        r = v.toString().trimmed().toInt(&ok);
    } else {
        r = v.toInt(&ok);
    }
    if (!ok)
        throw Error(QStringLiteral("'%1' nem érvényes egész szám").arg(v.toString()));
    return r;
}

double VarToFloat(const QVariant &v) {
    if (!v.isValid() || v.isNull())
        return 0.0;
    bool ok = false;
    const double r = v.typeId() == QMetaType::QString ? v.toString().trimmed().toDouble(&ok) : v.toDouble(&ok);
    if (!ok)
        throw Error(QStringLiteral("'%1' nem érvényes szám").arg(v.toString()));
    return r;
}

int RoundHalfEven(double v) {
    const int old = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(v);
    std::fesetround(old);
    return int(r);
}

QString FieldOf(QChar separator, const QString &text, int index) {
    QString result;
    int counter = 1;
    for (QChar c : text) {
        if (c == separator)
            ++counter;
        else if (counter == index)
            result.append(c);
    }
    return result;
}

QString NormalizeKey(const QString &text) {
    QString r(text.size(), Qt::Uninitialized);
    QChar *out = r.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text.at(i);
        const ushort u = c.unicode();
        if (u < 128) {
            out[i] = asciiUpper(c);
            continue;
        }
        // One character to one character: "ß" stays "ß" instead of becoming "SS".
        c = c.toUpper();
        switch (c.unicode()) {
        case 0x00C1: c = QLatin1Char('A'); break; // Á
        case 0x00C9: c = QLatin1Char('E'); break; // É
        case 0x00CD: c = QLatin1Char('I'); break; // Í
        case 0x00D3: // Ó
        case 0x00D6: // Ö
        case 0x0150: c = QLatin1Char('O'); break; // Ő
        case 0x00DA: // Ú
        case 0x00DC: // Ü
        case 0x0170: c = QLatin1Char('U'); break; // Ű
        default: break;
        }
        out[i] = c;
    }
    return r;
}

QString SearchKey(const QString &text) { return NormalizeKey(text.left(20)); }

QString FileSlug(const QString &text) {
    static const QString hyphenated = QStringLiteral(" !\"#%&'*+/:?@\\");
    QString r;
    r.reserve(text.size());
    for (QChar c : text) {
        if (hyphenated.contains(c))
            r.append(QLatin1Char('-'));
        else if (c.unicode() > 127 && c.unicode() != 0x20AC)
            r.append(QLatin1Char('_'));
        else
            r.append(c);
    }
    // Lower-casing touches ASCII letters only; the euro sign has no case.
    for (QChar &c : r)
        if (c.unicode() >= 'A' && c.unicode() <= 'Z')
            c = QChar(c.unicode() + 32);
    return r;
}

QString JoinLines(const QString &text) {
    QString r;
    QString line;
    bool pending = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            r += line + QLatin1Char('|');
            line.clear();
            pending = false;
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else {
            line.append(c);
            pending = true;
        }
    }
    if (pending)
        r += line + QLatin1Char('|');
    return r;
}

QString TextLengthRefusal(const QString &label, int size, const QString &text) {
    if (size <= 0 || text.size() <= size)
        return QString();
    return QStringLiteral("A(z) „%1” mező legfeljebb %2 karakter lehet, most %3 karakter.").arg(label).arg(size).arg(text.size());
}

QString SqlQuote(const QString &text) {
    QString r = text;
    r.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + r + QLatin1Char('\'');
}

QString FormatGrouped(qint64 value) {
    // The magnitude as unsigned, so the smallest value has one too.
    const quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    const QString digits = QString::number(magnitude);
    QString r;
    r.reserve(digits.size() + digits.size() / 3 + 1);
    if (value < 0)
        r += QLatin1Char('-');
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            r += QLatin1Char(' ');
        r += digits.at(i);
    }
    return r;
}

QString FormatGroupedValue(const QVariant &value) {
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
        return FormatGrouped(value.toLongLong());
    default:
        break;
    }
    bool ok = false;
    const double d = value.typeId() == QMetaType::QString ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
    if (!ok || !std::isfinite(d) || std::fabs(d) >= 9.2e18)
        return value.toString();
    return FormatGrouped(std::llround(d));
}

bool StartsWithAsciiNoCase(const QString &value, const QString &prefix) {
    if (prefix.size() > value.size())
        return false;
    const QChar *v = value.constData();
    const QChar *p = prefix.constData();
    for (qsizetype i = 0; i < prefix.size(); ++i) {
        if (v[i] == p[i])
            continue;
        if (isAsciiLetter(v[i]) && asciiUpper(v[i]) == asciiUpper(p[i]))
            continue;
        return false;
    }
    return true;
}

bool EqualsAsciiNoCase(const QString &a, const QString &b) {
    return a.size() == b.size() && StartsWithAsciiNoCase(a, b);
}

QString KeyText(qint64 key) { return QStringLiteral("%1").arg(key, 5, 10, QLatin1Char('0')); }

void LoadWindowPos(const QString &windowName, int &left, int &top) {
    QSettings ini(IniPath(), QSettings::IniFormat);
    bool ok = false;
    left = ini.value(windowName + QStringLiteral("/Left")).toInt(&ok);
    if (!ok)
        left = 10;
    top = ini.value(windowName + QStringLiteral("/Top")).toInt(&ok);
    if (!ok)
        top = 10;
}

void SaveWindowPos(const QString &windowName, int left, int top) {
    UpdateIni({{windowName + QStringLiteral("/Left"), left}, {windowName + QStringLiteral("/Top"), top}});
}

} // namespace kodexa
