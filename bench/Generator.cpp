#include "bench/Generator.h"

#include "data/Catalogue.h"
#include "data/Dataset.h"
#include "data/Db.h"
#include "data/Kozos.h"
#include "data/Schema.h"
#include "data/Seged.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringList>
#include <random>

namespace kodexa::bench {

namespace {

QStringList words(const char *text) { return QString::fromUtf8(text).split(QLatin1Char('|')); }

// Hungarian family names: every accented capital opens at least one of them.
const QStringList &huFamily() {
    static const QStringList l = words(
        "Nagy|Kovács|Tóth|Szabó|Horváth|Varga|Kiss|Molnár|Németh|Farkas|Balogh|Papp|Takács|Juhász|Lakatos|"
        "Mészáros|Oláh|Simon|Rácz|Fekete|Szilágyi|Török|Fehér|Balázs|Gál|Kis|Szűcs|Kocsis|Orsós|Pintér|Fodor|"
        "Szalai|Sipos|Magyar|Lukács|Gulyás|Bíró|Király|Katona|László|Jakab|Bogdán|Sándor|Boros|Fazekas|Kelemen|"
        "Antal|Soós|Orbán|Vörös|Hegedűs|Győri|Székely|Dévai|Gyöngyösi|Csűrös|Szőke|Bükki|Pásztor|Vágó|Jámbor|"
        "Ördög|Ötvös|Őri|Őze|Ürögi|Üveges|Ujvári|Újvári|Úrhegyi|Ábrahám|Ács|Ágoston|Érsek|Éles|Illés|Ijjas|"
        "Íjgyártó|Ódor|Ónodi|Ürmös|Űrmösi|Erdős|Cserháti|Dőry|Kőműves|Süle|Fülöp|Hűvösvölgyi|Zöldi|Köves|"
        "Tőkés|Bőhm|Rózsa|Hajós|Gárdos|Mátyás");
    return l;
}

const QStringList &huGiven() {
    static const QStringList l = words(
        "Ádám|Ágnes|Ákos|Álmos|Éva|Endre|Erzsébet|Ilona|Imre|Ildikó|Írisz|István|Ottó|Ödön|Örs|Őrs|Ubul|Ünige|"
        "Zsuzsanna|Zoltán|Péter|Pál|Gábor|Géza|Mór|Mihály|Ferenc|Sándor|János|Katalin|Judit|Júlia|Gyöngyi|"
        "Tünde|Csilla|Réka|Dóra|Lőrinc|Bálint|Dániel|Dezső|Gyula|Jenő|Kálmán|Károly|Lajos|Miklós|Tamás|Zsófia|"
        "Margit|Anikó|Enikő|Emőke|Kinga|Hajnalka|Tímea|Tivadar|Ernő|Győző|Szilárd|Töhötöm|Előd|Ábel|Édua|"
        "Ibolya|Orsolya|Ölbey|Üdvöske|Úrsula|Zsigmond|Antal|Boglárka|Csongor");
    return l;
}

const QStringList &foreignGiven() {
    static const QStringList l = words(
        "Thomas|Franz|Karel|Jiří|Bohumil|Jaroslav|Günter|Heinrich|Erich|Johann|Gerhard|Jürgen|Käthe|Ingeborg|"
        "John|Mary|Émile|Pierre|Lars|Astrid|Selma|Božena|Václav|Milan|Friedrich|Hans|Jörg|Uwe|Gabriel|Italo|"
        "Umberto|Fjodor|Lev|Anton|Virginia|George");
    return l;
}

const QStringList &foreignFamily() {
    static const QStringList l = words(
        "Mann|Čapek|Dvořák|Hrabal|Hašek|Grass|Böll|Kästner|Strauß|Jäger|Müller|Schäfer|Weiß|Groß|Novák|"
        "Řezníček|Kříž|Smith|Dubois|Ibsen|Lindgren|Doyle|Němcová|Kundera|Dürrenmatt|Süskind|Brontë|Zweig|"
        "Hesse|Schröder|Lagerlöf|Hoffmann|Kafka|Rilke|Goethe|Wolf");
    return l;
}

const QStringList &huNouns() {
    static const QStringList l = words(
        "ház|kert|út|tó|erdő|ősz|tél|nyár|tavasz|éjszaka|álom|ég|föld|víz|tűz|szél|csillag|hajó|híd|város|falu|"
        "király|lovag|vándor|tükör|kő|fény|árnyék|dal|szív|lélek|idő|emlék|levél|kapu|torony|sziget|völgy|hegy|"
        "folyó|tenger|óceán|ünnep|öröm|bánat|üzenet|ígéret|ösvény|őrszem|ördög|úr|űr|ölelés|élet|halál|"
        "szerelem|háború|béke|titok|kincs|kulcs|ablak|ajtó|asztal|könyv|betű|szó|mese|rege|krónika|napló|ének|"
        "óra|pillanat|évszázad|nemzedék|család|testvér|barát|idegen|gyermek|anya|apa|nagyapa|utazás|kaland|"
        "hold|nap|hajnal|alkony|menedék|határ|puszta|tanya|malom|harang|őzike|ünnepnap|ökör|ütközet|írás");
    return l;
}

const QStringList &huAdjectives() {
    static const QStringList l = words(
        "régi|új|ősi|kék|zöld|fehér|fekete|vörös|arany|ezüst|csendes|titkos|elveszett|utolsó|első|hosszú|rövid|"
        "hideg|meleg|sötét|világos|néma|különös|boldog|szomorú|elfeledett|végtelen|ünnepi|őszi|téli|nyári|"
        "tavaszi|éjféli|hajnali|esti|idegen|örök|múló|törékeny|üres|égő|hűvös|szelíd|vad|büszke|óriási|apró|"
        "kíváncsi|bátor|íratlan|ismeretlen|álmos|édes|keserű|újabb|ördögi");
    return l;
}

const QStringList &enWords() {
    static const QStringList l = words(
        "House|Garden|Road|River|Winter|Summer|Night|Dream|Sky|Stone|Light|Shadow|Song|Heart|Time|Letter|Gate|"
        "Tower|Island|Valley|Mountain|Sea|Friend|Stranger|Child|Journey|Secret|Mirror|King|Moon|Sun|War|Peace");
    return l;
}
const QStringList &enAdj() {
    static const QStringList l = words("Old|New|Silent|Secret|Lost|Last|First|Long|Dark|Bright|Strange|Quiet|Broken|Golden|Wild|Little");
    return l;
}
const QStringList &deWords() {
    static const QStringList l = words(
        "Straße|Mädchen|Bär|Grüße|Fluß|Brücke|Männer|Träume|Stühle|Größe|Bücher|Wälder|Nächte|Gärten|Türme|"
        "Füchse|Schlösser|Häuser|Hände|Spiele|Meer|Himmel|Zeit|Weg");
    return l;
}
const QStringList &deAdj() {
    static const QStringList l = words("Die weißen|Die großen|Die süßen|Die schönen|Die müden|Die stillen|Die fröhlichen|Die dunklen|Über die|Für die");
    return l;
}
const QStringList &csWords() {
    static const QStringList l = words(
        "Příběh|Řeka|Čas|Ženy|Město|Dům|Válka|Léto|Zima|Noc|Hvězda|Cesta|Sníh|Vítr|Srdce|Přítel|Šťastný den|"
        "Čtyři roky|Obsluhoval jsem|Babička|Mlýn|Zahrada");
    return l;
}
const QStringList &frWords() {
    static const QStringList l = words(
        "L'été|La mer|Le château|La forêt|L'étranger|Le cœur|La fenêtre|Le rêve|La rivière|Le jardin|L'hiver|"
        "La leçon|Le garçon|La chanson|L'île|Le héros");
    return l;
}

const QStringList &subtitles() {
    static const QStringList l = words(
        "Regény|Elbeszélések|Versek|Válogatott írások|Tanulmányok|Emlékiratok|Útirajz|Kisregény|Mesék gyerekeknek|"
        "Drámai költemény|Novellák|Esszék|Levelek|Önéletrajz|Történelmi regény|Ifjúsági regény|Ötven év krónikája|"
        "Írások a hagyatékból|Összegyűjtött művek|Új fordítás|Kétnyelvű kiadás|Ünnepi kiadás");
    return l;
}

const QStringList &keywordPool() {
    static const QStringList l = words(
        "Balaton|szabadságharc|Budapest|Erdély|második világháború|Duna|Tisza|ökológia|űrhajózás|őstörténet|"
        "ünnepek|életrajz|barátság|szerelem|utazás|Eger|török kor|reformkor|honfoglalás|Árpád-ház|Mátyás király|"
        "Anjou-kor|kiegyezés|Trianon|1956|Nobel-díj|gyerekkor|családtörténet|falusi élet|nagyváros|kaland|"
        "detektív|kémregény|tudományos fantasztikum|mitológia|népmese|humor|lélektan|filozófia|vallás|zene|"
        "festészet|építészet|kertészet|szakácskönyv|borászat|horgászat|vadászat|sport|sakk|Ázsia|Észak-Amerika|"
        "Óbuda|Őrség|Ürömi út|Ústí|Ötvös műhely|Írország|München|Brno|Plzeň|Köln");
    return l;
}

const QStringList &genres() {
    static const QStringList l = words(
        "regény|kisregény|novella|elbeszélés|vers|elbeszélő költemény|dráma|komédia|tragédia|esszé|tanulmány|"
        "életrajz|önéletrajz|napló|levelezés|útirajz|riport|interjú|mese|monda|legenda|ifjúsági regény|"
        "történelmi regény|krimi|thriller|kémregény|sci-fi|fantasy|horror|romantikus regény|kalandregény|"
        "humoros írás|szatíra|paródia|aforizma|antológia|lexikon|enciklopédia|szótár|atlasz|kézikönyv|"
        "tankönyv|szakkönyv|ismeretterjesztő|album|képregény|kottás kiadás|hangoskönyv|szakácskönyv|"
        "útikönyv|imakönyv|filozófiai mű|történeti mű|szociográfia|dokumentumregény|ódák|ünnepi műsor|"
        "őstörténeti munka|újságcikkek|űrregény");
    return l;
}

const QStringList &subjects() {
    static const QStringList l = words(
        "Magyar irodalom|Világirodalom|Történelem|Filozófia|Pszichológia|Vallás|Művészet|Zene|Építészet|"
        "Földrajz|Természettudomány|Matematika|Fizika|Kémia|Biológia|Orvostudomány|Jog|Gazdaság|Politika|"
        "Szociológia|Néprajz|Nyelvészet|Pedagógia|Sport|Gasztronómia|Kertészet|Utazás|Technika|Informatika|"
        "Csillagászat|Ókor|Középkor|Újkor|Őstörténet|Ünnepek és szokások|Életmód|Gyermekirodalom|Ifjúsági irodalom|"
        "Hadtörténet|Helytörténet|Egyháztörténet|Irodalomtörténet|Színház|Film|Fotográfia|Képzőművészet|"
        "Iparművészet|Ökológia|Állattan|Növénytan");
    return l;
}

const QStringList &languages() {
    static const QStringList l = words("magyar|angol|német|francia|cseh|olasz|orosz|latin|spanyol|lengyel|szlovák|román|görög|svéd|finn");
    return l;
}

class Rng {
public:
    explicit Rng(quint64 seed) : g_(seed) {}
    // Plain modulo keeps the sequence the same on every standard library.
    int pick(int n) { return n <= 0 ? 0 : int(g_() % quint64(n)); }
    // Low indexes far more often: a few authors and publishers hold many books.
    int skewed(int n) {
        const double u = double(g_() >> 11) / double(1ull << 53);
        return std::min(n - 1, int(n * u * u));
    }
    bool chance(int percent) { return pick(100) < percent; }
    const QString &of(const QStringList &l) { return l[pick(int(l.size()))]; }
    void shuffle(QStringList &l) {
        for (int i = int(l.size()) - 1; i > 0; --i)
            l.swapItemsAt(i, pick(i + 1));
    }

private:
    std::mt19937_64 g_;
};

bool startsWithVowel(const QString &s) {
    static const QString vowels = QStringLiteral("aáeéiíoóöőuúüűAÁEÉIÍOÓÖŐUÚÜŰ");
    return !s.isEmpty() && vowels.contains(s.at(0));
}
QString article(const QString &next) { return startsWithVowel(next) ? QStringLiteral("az") : QStringLiteral("a"); }
QString capital(QString s) {
    if (!s.isEmpty())
        s[0] = s.at(0).toUpper();
    return s;
}

QString personName(Rng &r, bool foreignAllowed) {
    if (foreignAllowed && r.chance(15))
        return r.of(foreignGiven()) + QLatin1Char(' ') + r.of(foreignFamily());
    return r.of(huFamily()) + QLatin1Char(' ') + r.of(huGiven());
}

// count distinct names made by make; a repeat gets a second given name or a number.
QStringList distinctNames(Rng &r, int count, const std::function<QString(Rng &)> &make) {
    QStringList out;
    QSet<QString> seen;
    while (out.size() < count) {
        QString n = make(r);
        for (int attempt = 0; seen.contains(n) && attempt < 20; ++attempt)
            n = make(r);
        if (seen.contains(n))
            n += QLatin1Char(' ') + r.of(huGiven());
        for (int k = 2; seen.contains(n); ++k)
            n = make(r) + QStringLiteral(" %1").arg(k);
        seen.insert(n);
        out << n;
    }
    return out;
}

QString huTitle(Rng &r) {
    const QString noun = r.of(huNouns());
    const QString adj = r.of(huAdjectives());
    switch (r.pick(8)) {
    case 0:
    case 1:
        return capital(article(adj) + QLatin1Char(' ') + adj + QLatin1Char(' ') + noun);
    case 2:
        return capital(noun) + QStringLiteral(" és ") + r.of(huNouns());
    case 3:
        return capital(adj + QLatin1Char(' ') + noun);
    case 4: {
        const QString n2 = r.of(huNouns());
        return r.of(huGiven()) + QStringLiteral(" és ") + article(n2) + QLatin1Char(' ') + n2;
    }
    case 5: {
        const QString adj2 = r.of(huAdjectives());
        return capital(article(adj) + QLatin1Char(' ') + adj + QLatin1Char(' ') + noun) + QStringLiteral(", avagy ") +
               article(adj2) + QLatin1Char(' ') + adj2 + QLatin1Char(' ') + r.of(huNouns());
    }
    case 6: {
        static const QStringList numbers = words("Egy|Két|Három|Hét|Tizenkét|Száz|Ezer|Ötven|Negyven");
        return r.of(numbers) + QLatin1Char(' ') + adj + QLatin1Char(' ') + noun;
    }
    default:
        return capital(noun);
    }
}

QString titleFor(Rng &r, const QString &language) {
    if (language == QLatin1String("angol"))
        return QStringLiteral("The ") + r.of(enAdj()) + QLatin1Char(' ') + r.of(enWords());
    if (language == QLatin1String("német"))
        return r.of(deAdj()) + QLatin1Char(' ') + r.of(deWords());
    if (language == QLatin1String("cseh"))
        return r.of(csWords()) + (r.chance(50) ? QString() : QStringLiteral(" a ") + r.of(csWords()).toLower());
    if (language == QLatin1String("francia"))
        return r.of(frWords()) + (r.chance(50) ? QString() : QStringLiteral(" et ") + r.of(frWords()).toLower());
    return huTitle(r);
}

QString contentsText(Rng &r) {
    const int length = 80 + r.pick(1921); // up to 2,000 characters
    QString s;
    s.reserve(length + 200);
    const bool chapters = r.chance(50);
    for (int i = 1; s.size() < length; ++i) {
        if (chapters) {
            s += QStringLiteral("%1. ").arg(i) + huTitle(r) + QStringLiteral("\r\n");
        } else {
            const QString noun = r.of(huNouns());
            const QString adj = r.of(huAdjectives());
            s += capital(article(adj) + QLatin1Char(' ') + adj + QLatin1Char(' ') + noun) + QStringLiteral(" és ") +
                 article(r.of(huNouns())) + QLatin1Char(' ') + r.of(huNouns()) + QStringLiteral(" története, ") +
                 r.of(huGiven()) + QStringLiteral(" szemével. ");
        }
    }
    s.truncate(length);
    return s;
}

QString dateText(const QDate &d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }

struct Lookup {
    QStringList names;
    void write(Db &db, const char *table) const {
        const LookupTable &d = LookupFor(QLatin1String(table));
        const bool keyed = d.keyed();
        const QString t = QLatin1String(table), name = QLatin1String(d.nameColumn);
        Stmt s = db.prepare(keyed ? QStringLiteral("INSERT INTO %1 (%1, %2, %3) VALUES (?1, ?2, ?3)").arg(t, name, QLatin1String(d.searchKeyColumn))
                                  : QStringLiteral("INSERT INTO %1 (%1, %2) VALUES (?1, ?2)").arg(t, name));
        for (int i = 0; i < names.size(); ++i) {
            s.reset();
            s.bind(1, i + 1).bind(2, names[i]);
            if (keyed)
                s.bind(3, SearchKey(names[i]));
            s.exec();
        }
    }
};

} // namespace

void GenerateCatalogue(const QString &path, int books) {
    CreateCatalogue(path, false);
    Db db;
    db.open(path);
    Rng r(20240611);

    Lookup authors{distinctNames(r, 5000, [](Rng &g) { return personName(g, true); })};
    Lookup publishers;
    {
        const QStringList bases = words(
            "Móra|Európa|Magvető|Szépirodalmi|Gondolat|Kossuth|Akadémiai|Corvina|Helikon|Ulpius|Athenaeum|Libri|"
            "Park|Osiris|Typotex|Jelenkor|Kalligram|Noran|Scolar|Tericum|Ciceró|Új Palatinus|Ábel|Édesvíz|Ősi Gyökér|"
            "Úton|Ökológia|Űrkutató|Officina|Fekete Sas|Kairosz|Holnap|Animus|Alexandra|Gabo|Agave|Cartaphilus|"
            "Kriterion|Forum|Madách|Pannonica|Tinta|Balassi|Argumentum|Napvilág|Atlantisz|Századvég|Vince|Kortárs|"
            "Ünnepi Könyvhét|Írott Szó|Ízlés|Suhrkamp|Rowohlt|Bärenreiter|Mladá fronta|Albatros|Odeon|Gallimard|Penguin");
        const QStringList forms = words("%1 Kiadó|%1 Könyvkiadó|%1 Kft.|%1 Könyvek|%1 Kiadó Zrt.|%1 Verlag|%1 Nakladatelství|%1 Press|%1 Műhely|%1 Kiadóház");
        QStringList all;
        for (const QString &f : forms)
            for (const QString &b : bases)
                all << f.arg(b);
        r.shuffle(all);
        publishers.names = all.mid(0, 400);
    }
    Lookup series;
    {
        const QStringList adj = words("Magyar|Európai|Klasszikus|Modern|Kortárs|Ifjúsági|Népszerű|Olcsó|Világirodalmi|Régi|Új|"
                                      "Ünnepi|Öreg|Őszi|Híres|Érdekes|Izgalmas|Színes|Kis|Nagy");
        const QStringList noun = words("Könyvtár|Remekírók|Regénytár|Zsebkönyvek|Sorozat|Tár|Olvasmányok|Kalandregények|Költők|"
                                       "Krimik|Tudomány|Életrajzok|Útikönyvek|Mesék|Antológia|Gyűjtemény|Ötletek");
        QStringList all;
        for (const QString &a : adj)
            for (const QString &n : noun)
                all << a + QLatin1Char(' ') + n;
        r.shuffle(all);
        series.names = all.mid(0, 300);
    }
    Lookup genre{genres().mid(0, 60)};
    Lookup subject{subjects()};
    Lookup shelves;
    for (const char *room : {"Nappali", "Háló", "Dolgozó", "Előtér", "Padlás"})
        for (int i = 1; i <= 8; ++i)
            shelves.names << QStringLiteral("%1-%2").arg(QString::fromUtf8(room)).arg(i);
    Lookup language{languages()};

    Transaction tx(db);
    authors.write(db, "szerzo");
    publishers.write(db, "kiado");
    series.write(db, "sorozat");
    subject.write(db, "targykor");
    genre.write(db, "mufaj");
    shelves.write(db, "polc");
    language.write(db, "nyelv");

    const FieldListPtr fields = TableFields(db, QStringLiteral("konyvek"));
    QStringList names, marks;
    for (int i = 0; i < fields->size(); ++i) {
        names << fields->fields[i].name;
        marks << QStringLiteral("?%1").arg(i + 1);
    }
    Stmt ins = db.prepare(QStringLiteral("INSERT INTO konyvek (%1) VALUES (%2)").arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));

    const QDate firstDay(1980, 1, 1);
    const int span = int(firstDay.daysTo(QDate(2024, 12, 31)));
    // Most books of a Hungarian collection are in Hungarian, translations included.
    auto pickLanguage = [&r]() -> int {
        const int p = r.pick(100);
        if (p < 75) return 0;
        if (p < 83) return 1;
        if (p < 89) return 2;
        if (p < 92) return 3;
        if (p < 94) return 4;
        return 5 + r.pick(int(languages().size()) - 5);
    };
    auto link = [](Record &b, const char *table, const Lookup &l, int index) {
        b.setValue(QLatin1String(table), index + 1);
        b.setValue(QLatin1String(LookupFor(QLatin1String(table)).nameColumn), l.names[index]);
    };

    for (int k = 1; k <= books; ++k) {
        Record b(fields);
        b.setValue(QStringLiteral("konyvek"), k);
        const int lang = pickLanguage();
        link(b, "nyelv", language, lang);
        b.setValue(QStringLiteral("cim"), titleFor(r, languages()[lang]));
        if (r.chance(25))
            b.setValue(QStringLiteral("alcim"), r.chance(30) ? QStringLiteral("Egy ") + r.of(huNouns()) + QStringLiteral(" története")
                                                              : r.of(subtitles()));
        if (r.chance(97))
            link(b, "szerzo", authors, r.skewed(int(authors.names.size())));
        if (r.chance(8))
            b.setValue(QStringLiteral("szerkesztok"),
                       r.chance(60) ? personName(r, false) : personName(r, true) + QStringLiteral(", ") + personName(r, true));
        if (r.chance(92))
            link(b, "kiado", publishers, r.skewed(int(publishers.names.size())));
        if (r.chance(35))
            link(b, "sorozat", series, r.skewed(int(series.names.size())));
        if (r.chance(90))
            link(b, "targykor", subject, r.skewed(int(subject.names.size())));
        if (r.chance(95))
            link(b, "mufaj", genre, r.skewed(int(genre.names.size())));
        link(b, "polc", shelves, r.pick(int(shelves.names.size())));

        const QDate bought = firstDay.addDays(r.pick(span + 1));
        b.setValue(QStringLiteral("dat_besz"), dateText(bought));
        if (r.chance(85))
            b.setValue(QStringLiteral("isbn"), r.chance(50) ? QStringLiteral("963-%1-%2-%3").arg(r.pick(90) + 10).arg(r.pick(9000) + 1000).arg(r.pick(10))
                                                             : QStringLiteral("978-963-%1-%2-%3").arg(r.pick(900) + 100).arg(r.pick(900) + 100).arg(r.pick(10)));
        b.setValue(QStringLiteral("kiadas"), 1 + r.skewed(12));
        if (r.chance(8))
            b.setValue(QStringLiteral("kotetszam"), 1 + r.pick(5));
        b.setValue(QStringLiteral("terjedelem"), 48 + r.pick(1150));
        if (r.chance(95))
            b.setValue(QStringLiteral("ar"), (30 + r.pick(1170)) * 10);
        b.setValue(QStringLiteral("dedikalt"), r.chance(3) ? QStringLiteral("I") : QStringLiteral("N"));
        if (r.chance(30)) {
            QStringList kw;
            for (int n = 1 + r.pick(4); n > 0; --n)
                kw << r.of(keywordPool());
            b.setValue(QStringLiteral("kulcsszavak"), kw.join(QStringLiteral("; ")));
        }
        if (r.chance(30))
            b.setValue(QStringLiteral("tartalom"), contentsText(r));
        if (r.chance(5)) {
            b.setValue(QStringLiteral("kolcsonadva"), QStringLiteral("I"));
            const int after = int(bought.daysTo(QDate(2025, 1, 31)));
            b.setValue(QStringLiteral("kolcsonadva_dat"), dateText(bought.addDays(r.pick(after + 1))));
            b.setValue(QStringLiteral("kolcsonadva_kinek"), personName(r, false));
        } else {
            b.setValue(QStringLiteral("kolcsonadva"), QStringLiteral("N"));
        }
        // The search keys exactly as the program writes them.
        TblBeforePost(b);
        ins.reset();
        for (int i = 0; i < fields->size(); ++i)
            ins.bind(i + 1, b.values[i]);
        ins.exec();
    }
    tx.commit();
}

QString CachedCatalogue(int books) {
    const QString path = QDir::temp().filePath(QStringLiteral("kodexa-bench-%1.sqb").arg(books));
    if (QFileInfo::exists(path))
        return path;
    // Written under another name first: an interrupted run leaves no half-filled cache.
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    QFile::remove(part + QStringLiteral("-journal"));
    GenerateCatalogue(part, books);
    if (!QFile::rename(part, path))
        throw DbError(QStringLiteral("Nem nevezhető át: %1").arg(part));
    return path;
}

} // namespace kodexa::bench
