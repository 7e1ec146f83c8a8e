#include "screenqueries.h"

#include "data/format.h"

using namespace coop;

namespace {

using enum FieldType;

void declare(Query &query, const QStringList &sql, const QList<FieldDef> &fields)
{
    query.sql().setLines(sql);
    for (const FieldDef &field : fields)
        query.addField(field);
}

FieldDef calculated(const QString &name, FieldType type)
{
    FieldDef def{name, type};
    def.kind = FieldKind::Calculated;
    return def;
}

// Suma = quantity × price in double precision, stored into the field as its type holds it.
void calculateSum(Query &lines, const QString &price)
{
    Field *kilkist = lines.fieldByName(QStringLiteral("Kilkist"));
    Field *cina = lines.fieldByName(price);
    Field *suma = lines.fieldByName(QStringLiteral("Suma"));
    QObject::connect(&lines, &Query::calcFields, &lines,
                     [=] { suma->setValue(kilkist->asFloat() * cina->asFloat()); });
}

// The header's scroll handler: the lines of the current header, or none while there is no header.
void followHeader(Query &header, Query &lines, const QStringList &sql, const QString &condition)
{
    QObject::connect(&header, &Query::afterScroll, &lines, [&header, &lines, sql, condition] {
        lines.close();
        if (header.isEmpty())
            return;
        lines.sql().setLines(sql + QStringList{condition + header.fieldByName(QStringLiteral("id"))->asString()});
        lines.open();
    });
}

QString number(double value) { return QString::number(value, 'g', 17); }
QString date(const QDate &value) { return QuoteSqlText(value.toString(Qt::ISODate)); }

} // namespace

ScreenQueries::ScreenQueries()
{
    declare(form7Query1,
            {"Select nadhodgennya.id, postachalnuku.nazvaPostachalnuka, spivrobitnuku.PIB, nadhodgennya.DataNadhodgenya, "
             "nadhodgennya.IdPostachalnuka, nadhodgennya.IdSpivrobitnuka",
             "From nadhodgennya, postachalnuku, spivrobitnuku",
             "Where nadhodgennya.IdPostachalnuka = postachalnuku.id AND nadhodgennya.IdSpivrobitnuka = spivrobitnuku.id"},
            {{"id", Integer}, {"nazvaPostachalnuka", String, 50}, {"PIB", String, 40}, {"DataNadhodgenya", Date},
             {"IdPostachalnuka", Integer}, {"IdSpivrobitnuka", Integer}});
    declare(form7Query3, {},
            {{"id", Integer}, {"NazvaTovary", String, 40}, {"Kilkist", Float}, {"Cina", Float}, {"IdTovary", Integer},
             {"IdNadhodgennya", Integer}, {"id_1", Integer}, calculated("Suma", Float)});
    calculateSum(form7Query3, "Cina");
    followHeader(form7Query1, form7Query3,
                 {"Select chonadishlo.id, chonadishlo.IdTovary, chonadishlo.idNadhodgennya, chonadishlo.Kilkist, "
                  "chonadishlo.Cina, nadhodgennya.id, tovary.NazvaTovary",
                  "From chonadishlo, nadhodgennya, tovary",
                  "Where chonadishlo.IdTovary = Tovary.Id AND chonadishlo.Idnadhodgennya = nadhodgennya.Id"},
                 "and chonadishlo.IdNadhodgennya=");

    declare(form11Query1,
            {"Select rozpodil.id, rozpodil.IdMagazuny, rozpodil.IdSpivrobitnuka, rozpodil.DataRozpodily, "
             "Magazunu.NazvaMagazuny, Spivrobitnuku.PIB",
             "From rozpodil, spivrobitnuku, magazunu",
             "Where rozpodil.IdMagazuny = magazunu.id AND rozpodil.IdSpivrobitnuka = spivrobitnuku.id"},
            {{"id", Integer}, {"IdMagazuny", Integer}, {"IdSpivrobitnuka", Integer}, {"NazvaMagazuny", String, 32},
             {"PIB", String, 40}, {"DataRozpodily", Date}});
    declare(form11Query3, {},
            {{"id", Integer}, {"IdRozpodily", Integer}, {"IdTovary", Integer}, {"nazvatovary", String, 40},
             {"Kilkist", Float}, {"CinaPostachannya", Float}, {"id_1", Integer}, calculated("Suma", Integer)});
    calculateSum(form11Query3, "CinaPostachannya");
    followHeader(form11Query1, form11Query3,
                 {"Select pozuciirozpodily.id, pozuciirozpodily.IdRozpodily, pozuciirozpodily.IdTovary, "
                  "pozuciirozpodily.Kilkist, pozuciirozpodily.CinaPostachannya, rozpodil.id, tovary.nazvatovary",
                  "From pozuciirozpodily, rozpodil, tovary",
                  "where pozuciirozpodily.IdRozpodily = rozpodil.id AND pozuciirozpodily.IdTovary = Tovary.id"},
                 "and pozuciirozpodily.IdRozpodily=");

    declare(form12Query1,
            {"Select baza.id, baza.idTovary, baza.kilkistNaBazi, tovary.nazvatovary", "From baza, tovary",
             "Where baza.idTovary = Tovary.Id"},
            {{"id", Integer}, {"nazvatovary", String, 40}, {"idTovary", Integer}, {"kilkistNaBazi", Float}});

    declare(form14Query1, {"Select *", "From magazunu"},
            {{"Id", Integer}, {"NazvaMagazuny", String, 32}, {"AdresaMagazuny", String, 40}, {"IdSpivrobitnuka", Integer}});
    declare(form14Query2, {},
            {{"id", Integer}, {"IdMagazuny", Integer}, {"IdTovary", Integer}, {"NazvaTovary", String, 40},
             {"Kilkist", Float}, {"CinaRozdribna", Float}, {"id_1", Integer}, {"Data", Date}});
    followHeader(form14Query1, form14Query2,
                 {"Select reveziyamagazuny.id,  reveziyamagazuny.IdMagazuny,  reveziyamagazuny.IdTovary,  "
                  "reveziyamagazuny.Kilkist,  reveziyamagazuny.CinaRozdribna, reveziyamagazuny.Data, magazunu.id, "
                  "tovary.NazvaTovary",
                  "From  reveziyamagazuny, magazunu, tovary",
                  "Where reveziyamagazuny.IdMagazuny = magazunu.id AND  reveziyamagazuny.IdTovary = tovary.id"},
                 "and reveziyamagazuny.Idmagazuny=");

    declare(form15Query1,
            {"Select reviziyabazu.id, reviziyabazu.IdSpivrobitnuka, reviziyabazu.Dokyment, reviziyabazu.DataRevizii, "
             "spivrobitnuku.PIB",
             "From reviziyabazu, spivrobitnuku", "Where reviziyabazu.IdSpivrobitnuka = spivrobitnuku.id "},
            {{"id", Integer}, {"IdSpivrobitnuka", Integer}, {"PIB", String, 40}, {"Dokyment", String, 32},
             {"DataRevizii", Date}});
    declare(form15Query3, {},
            {{"id", Integer}, {"NazvaTovary", String, 40}, {"IdRevizii", Integer}, {"Idtovary", Integer},
             {"Kilkist", Float}, {"Cina", Float}, {"id_1", Integer}, calculated("Suma", Float)});
    calculateSum(form15Query3, "Cina");
    followHeader(form15Query1, form15Query3,
                 {"Select pozuciireviziibazu.id, pozuciireviziibazu.IdRevizii, pozuciireviziibazu.Idtovary, "
                  "pozuciireviziibazu.Kilkist, pozuciireviziibazu.Cina, reviziyabazu.id, tovary.NazvaTovary",
                  "From pozuciireviziibazu, reviziyabazu, tovary",
                  "Where pozuciireviziibazu.IdRevizii = reviziyabazu.id AND pozuciireviziibazu.IdTovary = tovary.Id"},
                 "and pozuciireviziibazu.IdRevizii=");

    // The people and places the headers name; the documents print those of the second header.
    database.exec("INSERT INTO postachalnuku (Id, NazvaPostachalnuka) VALUES (1, 'ПП Промінь'), (2, " + QuoteSqlText(Supplier) + ");"
                  "INSERT INTO spivrobitnuku (Id, PIB) VALUES (1, 'Шевчук Ганна Петрівна'), (2, " + QuoteSqlText(Auditor) + ");"
                  "INSERT INTO magazunu (Id, NazvaMagazuny) VALUES (1, 'Магазин №1'), (2, " + QuoteSqlText(Shop) + ")");
}

void ScreenQueries::show(int number, const Lines &lines)
{
    switch (number) {
    case 17: return showReceipt(lines);
    case 18: return showDistribution(lines);
    case 19: return showStock(lines);
    case 20: return showShopAudit(lines);
    case 21: return showBaseAudit(lines);
    }
    qFatal("no document %d", number);
}

const DocumentLayout &ScreenQueries::document(int number) const
{
    const DocumentLayout *documents[] = {&quickReport17, &quickReport18, &quickReport19, &quickReport20, &quickReport21};
    return *documents[number - 17];
}

Query &ScreenQueries::linesOf(int number)
{
    Query *lines[] = {&form7Query3, &form11Query3, &form12Query1, &form14Query2, &form15Query3};
    return *lines[number - 17];
}

const Query *ScreenQueries::headerOf(int number) const
{
    const Query *headers[] = {&form7Query1, &form11Query1, nullptr, &form14Query1, &form15Query1};
    return headers[number - 17];
}

int ScreenQueries::addGoods(const QString &name)
{
    database.exec("INSERT INTO tovary (NazvaTovary) VALUES (" + QuoteSqlText(name) + ")");
    return database.value("SELECT LAST_INSERT_ID()").toInt();
}

void ScreenQueries::showReceipt(const Lines &lines)
{
    database.exec("INSERT INTO nadhodgennya (Id, IdPostachalnuka, IdSpivrobitnuka, DataNadhodgenya) VALUES"
                  " (1, 1, 1, '2011-05-01'), (2, 2, 1, " + date(ReceiptDate) + ")");
    database.exec(QStringLiteral("INSERT INTO chonadishlo (IdTovary, IdNadhodgennya, Kilkist, Cina) VALUES (%1, 1, 7, 7)")
                      .arg(addGoods("Сіль")));
    for (const Line &line : lines)
        database.exec(QStringLiteral("INSERT INTO chonadishlo (IdTovary, IdNadhodgennya, Kilkist, Cina) VALUES (%1, 2, %2, %3)")
                          .arg(addGoods(line.goods)).arg(number(line.kilkist), number(line.cina)));
    form7Query1.open();
    form7Query1.locate("id", 2);
}

void ScreenQueries::showDistribution(const Lines &lines)
{
    database.exec("INSERT INTO rozpodil (Id, IdMagazuny, IdSpivrobitnuka, DataRozpodily) VALUES"
                  " (1, 1, 1, '2011-05-01'), (2, 2, 1, '2011-05-20')");
    database.exec(QStringLiteral("INSERT INTO pozuciirozpodily (IdRozpodily, IdTovary, Kilkist, CinaPostachannya) VALUES (1, %1, 7, 7)")
                      .arg(addGoods("Сіль")));
    for (const Line &line : lines)
        database.exec(QStringLiteral("INSERT INTO pozuciirozpodily (IdRozpodily, IdTovary, Kilkist, CinaPostachannya) VALUES (2, %1, %2, %3)")
                          .arg(addGoods(line.goods)).arg(number(line.kilkist), number(line.cina)));
    form11Query1.open();
    form11Query1.locate("id", 2);
}

void ScreenQueries::showStock(const Lines &lines)
{
    for (const Line &line : lines)
        database.exec(QStringLiteral("INSERT INTO baza (IdTovary, KilkistNaBazi) VALUES (%1, %2)")
                          .arg(addGoods(line.goods)).arg(number(line.kilkist)));
    form12Query1.open();
}

void ScreenQueries::showShopAudit(const Lines &lines)
{
    database.exec(QStringLiteral("INSERT INTO reveziyamagazuny (IdMagazuny, IdTovary, Kilkist, CinaRozdribna, Data) VALUES (1, %1, 7, 7, '2011-05-01')")
                      .arg(addGoods("Сіль")));
    for (const Line &line : lines)
        database.exec(QStringLiteral("INSERT INTO reveziyamagazuny (IdMagazuny, IdTovary, Kilkist, CinaRozdribna, Data) VALUES (2, %1, %2, %3, %4)")
                          .arg(addGoods(line.goods)).arg(number(line.kilkist), number(line.cina),
                                                         date(line.date.isValid() ? line.date : AuditDate)));
    form14Query1.open();
    form14Query1.locate("Id", 2);
}

void ScreenQueries::showBaseAudit(const Lines &lines)
{
    database.exec("INSERT INTO reviziyabazu (Id, IdSpivrobitnuka, Dokyment, DataRevizii) VALUES"
                  " (1, 1, 'Наказ 3', '2011-05-01'), (2, 2, " + QuoteSqlText(BasisDocument) + ", " + date(AuditDate) + ")");
    database.exec(QStringLiteral("INSERT INTO pozuciireviziibazu (IdRevizii, IdTovary, Kilkist, Cina) VALUES (1, %1, 7, 7)")
                      .arg(addGoods("Сіль")));
    for (const Line &line : lines)
        database.exec(QStringLiteral("INSERT INTO pozuciireviziibazu (IdRevizii, IdTovary, Kilkist, Cina) VALUES (2, %1, %2, %3)")
                          .arg(addGoods(line.goods)).arg(number(line.kilkist), number(line.cina)));
    form15Query1.open();
    form15Query1.locate("id", 2);
}
