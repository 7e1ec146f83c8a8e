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
            {QStringLiteral("Select nadhodgennya.id, postachalnuku.nazvaPostachalnuka, spivrobitnuku.PIB, nadhodgennya.DataNadhodgenya, "
             "nadhodgennya.IdPostachalnuka, nadhodgennya.IdSpivrobitnuka"),
             QStringLiteral("From nadhodgennya, postachalnuku, spivrobitnuku"),
             QStringLiteral("Where nadhodgennya.IdPostachalnuka = postachalnuku.id AND nadhodgennya.IdSpivrobitnuka = spivrobitnuku.id")},
            {{QStringLiteral("id"), Integer}, {QStringLiteral("nazvaPostachalnuka"), String, 50}, {QStringLiteral("PIB"), String, 40}, {QStringLiteral("DataNadhodgenya"), Date},
             {QStringLiteral("IdPostachalnuka"), Integer}, {QStringLiteral("IdSpivrobitnuka"), Integer}});
    declare(form7Query3, {},
            {{QStringLiteral("id"), Integer}, {QStringLiteral("NazvaTovary"), String, 40}, {QStringLiteral("Kilkist"), Float}, {QStringLiteral("Cina"), Float}, {QStringLiteral("IdTovary"), Integer},
             {QStringLiteral("IdNadhodgennya"), Integer}, {QStringLiteral("id_1"), Integer}, calculated(QStringLiteral("Suma"), Float)});
    calculateSum(form7Query3, QStringLiteral("Cina"));
    followHeader(form7Query1, form7Query3,
                 {QStringLiteral("Select chonadishlo.id, chonadishlo.IdTovary, chonadishlo.idNadhodgennya, chonadishlo.Kilkist, "
                  "chonadishlo.Cina, nadhodgennya.id, tovary.NazvaTovary"),
                  QStringLiteral("From chonadishlo, nadhodgennya, tovary"),
                  QStringLiteral("Where chonadishlo.IdTovary = Tovary.Id AND chonadishlo.Idnadhodgennya = nadhodgennya.Id")},
                 QStringLiteral("and chonadishlo.IdNadhodgennya="));

    declare(form11Query1,
            {QStringLiteral("Select rozpodil.id, rozpodil.IdMagazuny, rozpodil.IdSpivrobitnuka, rozpodil.DataRozpodily, "
             "Magazunu.NazvaMagazuny, Spivrobitnuku.PIB"),
             QStringLiteral("From rozpodil, spivrobitnuku, magazunu"),
             QStringLiteral("Where rozpodil.IdMagazuny = magazunu.id AND rozpodil.IdSpivrobitnuka = spivrobitnuku.id")},
            {{QStringLiteral("id"), Integer}, {QStringLiteral("IdMagazuny"), Integer}, {QStringLiteral("IdSpivrobitnuka"), Integer}, {QStringLiteral("NazvaMagazuny"), String, 32},
             {QStringLiteral("PIB"), String, 40}, {QStringLiteral("DataRozpodily"), Date}});
    declare(form11Query3, {},
            {{QStringLiteral("id"), Integer}, {QStringLiteral("IdRozpodily"), Integer}, {QStringLiteral("IdTovary"), Integer}, {QStringLiteral("nazvatovary"), String, 40},
             {QStringLiteral("Kilkist"), Float}, {QStringLiteral("CinaPostachannya"), Float}, {QStringLiteral("id_1"), Integer}, calculated(QStringLiteral("Suma"), Integer)});
    calculateSum(form11Query3, QStringLiteral("CinaPostachannya"));
    followHeader(form11Query1, form11Query3,
                 {QStringLiteral("Select pozuciirozpodily.id, pozuciirozpodily.IdRozpodily, pozuciirozpodily.IdTovary, "
                  "pozuciirozpodily.Kilkist, pozuciirozpodily.CinaPostachannya, rozpodil.id, tovary.nazvatovary"),
                  QStringLiteral("From pozuciirozpodily, rozpodil, tovary"),
                  QStringLiteral("where pozuciirozpodily.IdRozpodily = rozpodil.id AND pozuciirozpodily.IdTovary = Tovary.id")},
                 QStringLiteral("and pozuciirozpodily.IdRozpodily="));

    declare(form12Query1,
            {QStringLiteral("Select baza.id, baza.idTovary, baza.kilkistNaBazi, tovary.nazvatovary"), QStringLiteral("From baza, tovary"),
             QStringLiteral("Where baza.idTovary = Tovary.Id")},
            {{QStringLiteral("id"), Integer}, {QStringLiteral("nazvatovary"), String, 40}, {QStringLiteral("idTovary"), Integer}, {QStringLiteral("kilkistNaBazi"), Float}});

    declare(form14Query1, {QStringLiteral("Select *"), QStringLiteral("From magazunu")},
            {{QStringLiteral("Id"), Integer}, {QStringLiteral("NazvaMagazuny"), String, 32}, {QStringLiteral("AdresaMagazuny"), String, 40}, {QStringLiteral("IdSpivrobitnuka"), Integer}});
    declare(form14Query2, {},
            {{QStringLiteral("id"), Integer}, {QStringLiteral("IdMagazuny"), Integer}, {QStringLiteral("IdTovary"), Integer}, {QStringLiteral("NazvaTovary"), String, 40},
             {QStringLiteral("Kilkist"), Float}, {QStringLiteral("CinaRozdribna"), Float}, {QStringLiteral("id_1"), Integer}, {QStringLiteral("Data"), Date}});
    followHeader(form14Query1, form14Query2,
                 {QStringLiteral("Select reveziyamagazuny.id,  reveziyamagazuny.IdMagazuny,  reveziyamagazuny.IdTovary,  "
                  "reveziyamagazuny.Kilkist,  reveziyamagazuny.CinaRozdribna, reveziyamagazuny.Data, magazunu.id, "
                  "tovary.NazvaTovary"),
                  QStringLiteral("From  reveziyamagazuny, magazunu, tovary"),
                  QStringLiteral("Where reveziyamagazuny.IdMagazuny = magazunu.id AND  reveziyamagazuny.IdTovary = tovary.id")},
                 QStringLiteral("and reveziyamagazuny.Idmagazuny="));

    declare(form15Query1,
            {QStringLiteral("Select reviziyabazu.id, reviziyabazu.IdSpivrobitnuka, reviziyabazu.Dokyment, reviziyabazu.DataRevizii, "
             "spivrobitnuku.PIB"),
             QStringLiteral("From reviziyabazu, spivrobitnuku"), QStringLiteral("Where reviziyabazu.IdSpivrobitnuka = spivrobitnuku.id ")},
            {{QStringLiteral("id"), Integer}, {QStringLiteral("IdSpivrobitnuka"), Integer}, {QStringLiteral("PIB"), String, 40}, {QStringLiteral("Dokyment"), String, 32},
             {QStringLiteral("DataRevizii"), Date}});
    declare(form15Query3, {},
            {{QStringLiteral("id"), Integer}, {QStringLiteral("NazvaTovary"), String, 40}, {QStringLiteral("IdRevizii"), Integer}, {QStringLiteral("Idtovary"), Integer},
             {QStringLiteral("Kilkist"), Float}, {QStringLiteral("Cina"), Float}, {QStringLiteral("id_1"), Integer}, calculated(QStringLiteral("Suma"), Float)});
    calculateSum(form15Query3, QStringLiteral("Cina"));
    followHeader(form15Query1, form15Query3,
                 {QStringLiteral("Select pozuciireviziibazu.id, pozuciireviziibazu.IdRevizii, pozuciireviziibazu.Idtovary, "
                  "pozuciireviziibazu.Kilkist, pozuciireviziibazu.Cina, reviziyabazu.id, tovary.NazvaTovary"),
                  QStringLiteral("From pozuciireviziibazu, reviziyabazu, tovary"),
                  QStringLiteral("Where pozuciireviziibazu.IdRevizii = reviziyabazu.id AND pozuciireviziibazu.IdTovary = tovary.Id")},
                 QStringLiteral("and pozuciireviziibazu.IdRevizii="));

    // The people and places the headers name; the documents print those of the second header.
    database.exec(QStringLiteral("INSERT INTO postachalnuku (Id, NazvaPostachalnuka) VALUES (1, 'ПП Промінь'), (2, ") + QuoteSqlText(Supplier) + QStringLiteral(");"
                  "INSERT INTO spivrobitnuku (Id, PIB) VALUES (1, 'Шевчук Ганна Петрівна'), (2, ") + QuoteSqlText(Auditor) + QStringLiteral(");"
                  "INSERT INTO magazunu (Id, NazvaMagazuny) VALUES (1, 'Магазин №1'), (2, ") + QuoteSqlText(Shop) + QStringLiteral(")"));
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
    database.exec(QStringLiteral("INSERT INTO tovary (NazvaTovary) VALUES (") + QuoteSqlText(name) + QStringLiteral(")"));
    return database.value(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
}

void ScreenQueries::showReceipt(const Lines &lines)
{
    database.exec(QStringLiteral("INSERT INTO nadhodgennya (Id, IdPostachalnuka, IdSpivrobitnuka, DataNadhodgenya) VALUES"
                  " (1, 1, 1, '2011-05-01'), (2, 2, 1, ") + date(ReceiptDate) + QStringLiteral(")"));
    database.exec(QStringLiteral("INSERT INTO chonadishlo (IdTovary, IdNadhodgennya, Kilkist, Cina) VALUES (%1, 1, 7, 7)")
                      .arg(addGoods(QStringLiteral("Сіль"))));
    for (const Line &line : lines)
        database.exec(QStringLiteral("INSERT INTO chonadishlo (IdTovary, IdNadhodgennya, Kilkist, Cina) VALUES (%1, 2, %2, %3)")
                          .arg(addGoods(line.goods)).arg(number(line.kilkist), number(line.cina)));
    form7Query1.open();
    form7Query1.locate(QStringLiteral("id"), 2);
}

void ScreenQueries::showDistribution(const Lines &lines)
{
    database.exec(QStringLiteral("INSERT INTO rozpodil (Id, IdMagazuny, IdSpivrobitnuka, DataRozpodily) VALUES"
                  " (1, 1, 1, '2011-05-01'), (2, 2, 1, '2011-05-20')"));
    database.exec(QStringLiteral("INSERT INTO pozuciirozpodily (IdRozpodily, IdTovary, Kilkist, CinaPostachannya) VALUES (1, %1, 7, 7)")
                      .arg(addGoods(QStringLiteral("Сіль"))));
    for (const Line &line : lines)
        database.exec(QStringLiteral("INSERT INTO pozuciirozpodily (IdRozpodily, IdTovary, Kilkist, CinaPostachannya) VALUES (2, %1, %2, %3)")
                          .arg(addGoods(line.goods)).arg(number(line.kilkist), number(line.cina)));
    form11Query1.open();
    form11Query1.locate(QStringLiteral("id"), 2);
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
                      .arg(addGoods(QStringLiteral("Сіль"))));
    for (const Line &line : lines)
        database.exec(QStringLiteral("INSERT INTO reveziyamagazuny (IdMagazuny, IdTovary, Kilkist, CinaRozdribna, Data) VALUES (2, %1, %2, %3, %4)")
                          .arg(addGoods(line.goods)).arg(number(line.kilkist), number(line.cina),
                                                         date(line.date.isValid() ? line.date : AuditDate)));
    form14Query1.open();
    form14Query1.locate(QStringLiteral("Id"), 2);
}

void ScreenQueries::showBaseAudit(const Lines &lines)
{
    database.exec(QStringLiteral("INSERT INTO reviziyabazu (Id, IdSpivrobitnuka, Dokyment, DataRevizii) VALUES"
                  " (1, 1, 'Наказ 3', '2011-05-01'), (2, 2, ") + QuoteSqlText(BasisDocument) + QStringLiteral(", ") + date(AuditDate) + QStringLiteral(")"));
    database.exec(QStringLiteral("INSERT INTO pozuciireviziibazu (IdRevizii, IdTovary, Kilkist, Cina) VALUES (1, %1, 7, 7)")
                      .arg(addGoods(QStringLiteral("Сіль"))));
    for (const Line &line : lines)
        database.exec(QStringLiteral("INSERT INTO pozuciireviziibazu (IdRevizii, IdTovary, Kilkist, Cina) VALUES (2, %1, %2, %3)")
                          .arg(addGoods(line.goods)).arg(number(line.kilkist), number(line.cina)));
    form15Query1.open();
    form15Query1.locate(QStringLiteral("id"), 2);
}
