#include "cooperative.h"

#include "data/mariadbhandles.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace coop::bench {

namespace {

long scaled(double scale, long full, long least) { return std::max(least, long(std::llround(double(full) * scale))); }

// Sequence tables of the server's SEQUENCE engine give the rows to insert from: seq_1_to_N.
QString seq(long n) { return QStringLiteral("seq_1_to_%1").arg(n); }

} // namespace

CooperativeSize::CooperativeSize(double s) : scale(s)
{
    goods = scaled(s, 100000, 100);
    shops = scaled(s, 200, 5);
    employees = std::max(shops * 2, scaled(s, 5000, 20));
    suppliers = scaled(s, 2000, 10);
    departments = 12;
    positions = 8;
    receipts = scaled(s, 100000, 10);
    receiptLines = goods * 10; // every goods is received ten times over
    distributions = scaled(s, 50000, 5);
    distributionLines = goods * 5; // and sent to a shop five times
    shopAuditLines = scaled(s, 200000, 50);
    baseAudits = scaled(s, 500, 2);
    baseAuditLines = baseAudits * 20;
    revenue = scaled(s, 1000000, 100);
    revenueOfFirstShop = revenue / 10;
    shopsSupplied = std::max(1L, shops * 19 / 20);
}

void generateCooperative(MYSQL *connection, const CooperativeSize &n, const std::function<void(const QString &)> &progress)
{
    const auto run = [&](const QString &what, const QString &script) {
        if (progress)
            progress(what);
        runScript(connection, script.toUtf8(), what);
    };
    // The price of a goods, the same wherever it appears: 1.00 to 125.75.
    const auto price = [](const QString &goods) { return QStringLiteral("(1 + ((%1) * 7 %% 500) / 4)").arg(goods).replace(QStringLiteral("%%"), QStringLiteral("%")); };
    const QString goodsOfSeq = QStringLiteral("((seq - 1) %% %1 + 1)").arg(n.goods).replace(QStringLiteral("%%"), QStringLiteral("%"));
    const long staffPerShop = n.employees / n.shops;
    // An employee of the shop: employees are spread over the shops in turn.
    const auto employeeOf = [&](const QString &shop, const QString &pick) {
        return QStringLiteral("(%1 + %2 * ((%3) % %4))").arg(shop).arg(n.shops).arg(pick).arg(staffPerShop);
    };

    QStringList tables{QStringLiteral("tovary"), QStringLiteral("viddilu"), QStringLiteral("posadu"), QStringLiteral("magazunu"),
                       QStringLiteral("spivrobitnuku"), QStringLiteral("postachalnuku"), QStringLiteral("nadhodgennya"),
                       QStringLiteral("chonadishlo"), QStringLiteral("baza"), QStringLiteral("rozpodil"),
                       QStringLiteral("pozuciirozpodily"), QStringLiteral("nayavnistvmagazuni"), QStringLiteral("reveziyamagazuny"),
                       QStringLiteral("reviziyabazu"), QStringLiteral("pozuciireviziibazu"), QStringLiteral("vurychka")};
    QString clear = QStringLiteral("SET SESSION unique_checks = 0;");
    for (const QString &table : tables)
        clear += QStringLiteral("TRUNCATE TABLE %1;").arg(table);
    run(QStringLiteral("emptying the tables"), clear);

    run(QStringLiteral("departments and positions"), QStringLiteral(
        "INSERT INTO viddilu (Id, NazvaViddily, MisceRoztash) SELECT seq, CONCAT(ELT(1 + (seq - 1) % 6, 'Правління', "
        "'Бухгалтерія', 'Торговий відділ', 'Склад товарів', 'Роздрібна торгівля', 'Заготівля'), IF(seq > 6, ' №2', '')), "
        "CONCAT('с. Мироланка, вул. Центральна, ', seq) FROM %1;"
        "INSERT INTO posadu (Id, NazvaPosadu) SELECT seq, ELT(seq, 'Голова правління', 'Головний бухгалтер', 'Бухгалтер', "
        "'Товарознавець', 'Завідувач складу', 'Комірник', 'Завідувач магазину', 'Продавець') FROM %2;")
        .arg(seq(n.departments), seq(n.positions)));

    run(QStringLiteral("%1 goods").arg(n.goods), QStringLiteral(
        "INSERT INTO tovary (Id, NazvaTovary, MarkaTovary) SELECT seq, CONCAT(ELT(1 + seq % 10, 'Борошно', 'Цукор', 'Олія', "
        "'Сіль', 'Гречка', 'Рис', 'Макарони', 'Чай', 'Кава', 'Мило'), ' сорт ', seq), CONCAT('ТМ «Марка ', seq % 1000, '»') FROM %1;")
        .arg(seq(n.goods)));

    run(QStringLiteral("%1 employees and %2 shops").arg(n.employees).arg(n.shops), QStringLiteral(
        "INSERT INTO spivrobitnuku (Id, PIB, DataNarodgennya, PasportniDani, IPN, DataVlash, Adresa, Telefon, IdViddily, IdPosadu, "
        "Oklad, IdMagazuny) SELECT seq, CONCAT(ELT(1 + seq % 12, 'Мельник', 'Ковальчук', 'Бондаренко', 'Шевчук', 'Ткаченко', "
        "'Кравченко', 'Олійник', 'Поліщук', 'Лисенко', 'Савчук', 'Руденко', 'Мороз'), ' ', ELT(1 + seq DIV 12 % 10, 'Петро', "
        "'Ганна', 'Оксана', 'Віктор', 'Марія', 'Іван', 'Олена', 'Степан', 'Ніна', 'Микола'), ' ', ELT(1 + seq DIV 120 % 6, "
        "'Іванович', 'Петрівна', 'Миколайович', 'Степанівна', 'Васильович', 'Олексіївна')), "
        "'1950-01-01' + INTERVAL (seq * 37 % 15000) DAY, CONCAT('КВ', LPAD(seq % 1000000, 6, '0')), 2000000000 + seq, "
        "'1995-01-01' + INTERVAL (seq * 13 % 9000) DAY, CONCAT('с. Мироланка, вул. Садова, ', seq % 200 + 1), "
        "CONCAT('(067)-', LPAD(seq % 1000, 3, '0'), '-', LPAD(seq % 100, 2, '0'), '-', LPAD(seq DIV 100 % 100, 2, '0')), "
        "1 + seq % %2, 1 + seq % %3, 1500 + seq % 2000, CAST((seq - 1) % %4 + 1 AS CHAR) FROM %1;"
        "INSERT INTO magazunu (Id, NazvaMagazuny, AdresaMagazuny, IdSpivrobitnuka) SELECT seq, CONCAT('Магазин №', seq), "
        "CONCAT('с. Село ', seq, ', вул. Миру, ', seq % 50 + 1), seq FROM %5;")
        .arg(seq(n.employees)).arg(n.departments).arg(n.positions).arg(n.shops).arg(seq(n.shops)));

    run(QStringLiteral("%1 suppliers").arg(n.suppliers), QStringLiteral(
        "INSERT INTO postachalnuku (Id, NazvaPostachalnuka, Adresa, Telefon, KodEDRPOU) SELECT seq, "
        "CONCAT('ТОВ «Постачальник ', seq, '»'), CONCAT('м. Житомир, вул. Київська, ', seq % 300 + 1), "
        "CONCAT('(041)-', LPAD(seq % 1000, 3, '0'), '-', LPAD(seq % 100, 2, '0'), '-', LPAD(seq DIV 100 % 100, 2, '0')), "
        "30000000 + seq FROM %1;").arg(seq(n.suppliers)));

    const long linesPerReceipt = std::max(1L, n.receiptLines / n.receipts);
    run(QStringLiteral("%1 receipts with %2 lines").arg(n.receipts).arg(n.receiptLines), QStringLiteral(
        "INSERT INTO nadhodgennya (Id, IdPostachalnuka, IdSpivrobitnuka, DataNadhodgenya) SELECT seq, 1 + seq % %2, "
        "1 + seq % %3, '2005-01-01' + INTERVAL (seq * 5000 DIV %4) DAY FROM %1;"
        "INSERT INTO chonadishlo (Id, IdTovary, IdNadhodgennya, Kilkist, Cina) SELECT seq, %6, LEAST(%4, (seq - 1) DIV %7 + 1), "
        "20 + seq % 31, %8 FROM %5;")
        .arg(seq(n.receipts)).arg(n.suppliers).arg(n.employees).arg(n.receipts)
        .arg(seq(n.receiptLines), goodsOfSeq).arg(linesPerReceipt).arg(price(goodsOfSeq)));

    const long linesPerDistribution = std::max(1L, n.distributionLines / n.distributions);
    const QString shopOfSeq = QStringLiteral("((seq - 1) % %1 + 1)").arg(n.shopsSupplied);
    run(QStringLiteral("%1 distributions with %2 lines").arg(n.distributions).arg(n.distributionLines), QStringLiteral(
        "INSERT INTO rozpodil (Id, IdMagazuny, IdSpivrobitnuka, DataRozpodily) SELECT seq, %2, %3, "
        "'2005-02-01' + INTERVAL (seq * 5000 DIV %4) DAY FROM %1;"
        "INSERT INTO pozuciirozpodily (Id, IdRozpodily, IdTovary, Kilkist, CinaPostachannya) SELECT seq, "
        "LEAST(%4, (seq - 1) DIV %6 + 1), %7, 1 + seq % 10, %8 FROM %5;")
        .arg(seq(n.distributions), shopOfSeq, employeeOf(shopOfSeq, QStringLiteral("seq"))).arg(n.distributions)
        .arg(seq(n.distributionLines)).arg(linesPerDistribution).arg(goodsOfSeq, price(goodsOfSeq)));

    // Stock follows from the documents: the base keeps what came in and was not sent on, each shop
    // what was sent to it.
    run(QStringLiteral("base and shop stock"), QStringLiteral(
        "INSERT INTO baza (IdTovary, KilkistNaBazi) SELECT r.IdTovary, r.q - COALESCE(d.q, 0) "
        "FROM (SELECT IdTovary, SUM(Kilkist) AS q FROM chonadishlo GROUP BY IdTovary) r "
        "LEFT JOIN (SELECT IdTovary, SUM(Kilkist) AS q FROM pozuciirozpodily GROUP BY IdTovary) d ON d.IdTovary = r.IdTovary "
        "ORDER BY r.IdTovary;"
        "INSERT INTO nayavnistvmagazuni (IdMagazuny, IdTovary, Kilkist, CinaOblikova, CinaRozdribna) "
        "SELECT r.IdMagazuny, p.IdTovary, SUM(p.Kilkist), MAX(p.CinaPostachannya), 1.25 * MAX(p.CinaPostachannya) "
        "FROM pozuciirozpodily p JOIN rozpodil r ON r.Id = p.IdRozpodily GROUP BY r.IdMagazuny, p.IdTovary "
        "ORDER BY r.IdMagazuny, p.IdTovary;"));

    run(QStringLiteral("%1 shop audit lines and %2 base audits").arg(n.shopAuditLines).arg(n.baseAudits), QStringLiteral(
        "INSERT INTO reveziyamagazuny (IdMagazuny, IdTovary, Kilkist, CinaRozdribna, Data) SELECT IdMagazuny, IdTovary, "
        "GREATEST(Kilkist - Id % 3, 0), CinaRozdribna, '2019-06-01' + INTERVAL (IdMagazuny % 30) DAY FROM nayavnistvmagazuni "
        "ORDER BY Id LIMIT %1;"
        "INSERT INTO reviziyabazu (Id, IdSpivrobitnuka, Dokyment, DataRevizii) SELECT seq, 1 + seq % %3, "
        "CONCAT('Акт ревізії №', seq), '2010-01-01' + INTERVAL (seq * 7) DAY FROM %2;"
        "INSERT INTO pozuciireviziibazu (IdRevizii, IdTovary, Kilkist, Cina) SELECT (s.seq - 1) DIV 20 + 1, b.IdTovary, "
        "b.KilkistNaBazi, %5 FROM %4 s JOIN baza b ON b.IdTovary = (s.seq - 1) % %6 + 1 ORDER BY s.seq;")
        .arg(n.shopAuditLines).arg(seq(n.baseAudits)).arg(n.employees).arg(seq(n.baseAuditLines))
        .arg(price(QStringLiteral("b.IdTovary"))).arg(n.goods));

    // Revenue: the first shop hands in a tenth of all entries, twenty a day; the other shops share
    // the rest.
    const long rest = n.revenue - n.revenueOfFirstShop;
    const QString otherShop = QStringLiteral("(2 + (seq - 1) % %1)").arg(std::max(1L, n.shops - 1));
    run(QStringLiteral("%1 revenue entries").arg(n.revenue), QStringLiteral(
        "INSERT INTO vurychka (IdMagazuny, IdSpivrobitnuka, Syma, Data) SELECT 1, %2, 500 + (seq * 7919) % 20000 / 4, "
        "'2005-01-01' + INTERVAL (seq DIV 20) DAY FROM %1;"
        "INSERT INTO vurychka (IdMagazuny, IdSpivrobitnuka, Syma, Data) SELECT %4, %5, 500 + (seq * 7919) % 20000 / 4, "
        "'2005-01-01' + INTERVAL ((seq - 1) DIV %6) DAY FROM %3;")
        .arg(seq(n.revenueOfFirstShop), employeeOf(QStringLiteral("1"), QStringLiteral("seq")), seq(std::max(1L, rest)),
             otherShop, employeeOf(otherShop, QStringLiteral("seq DIV 7")))
        .arg(std::max(1L, n.shops - 1)));

    run(QStringLiteral("statistics"), QStringLiteral("ANALYZE TABLE %1;").arg(tables.join(QStringLiteral(", "))));
}

} // namespace coop::bench
