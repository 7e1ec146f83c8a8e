#include "stockjournal.h"

#include "database.h"
#include "databaseerror.h"
#include "format.h"
#include "transaction.h"

#include <QTextStream>
#include <QUuid>

#include <cmath>
#include <map>
#include <set>
#include <tuple>

namespace coop {

namespace {

// The journal's own name for what moved the stock; also what the upgrade script writes.
QString documentKind(StockDocument document)
{
    return document == StockDocument::Receipt ? QStringLiteral("надходження") : QStringLiteral("розподіл");
}

// A multi-row INSERT stays well under a server's packet limit with this many rows in it.
constexpr size_t RowsPerInsert = 10000;

QString rawText(MYSQL_ROW row, int column) { return row[column] ? QString::fromUtf8(row[column]) : QString(); }

double rawNumber(MYSQL_ROW row, int column) { return row[column] ? ReadServerNumber(row[column]) : 0.0; }

// One stock row: the base warehouse's (no shop) or a shop's, for one goods.
using StockKey = std::tuple<bool, qlonglong, qlonglong>; // has a shop, shop, goods
StockKey keyOf(const StockChange &change) { return {change.shop.has_value(), change.shop.value_or(0), change.goods}; }

QString joinIds(const std::set<qlonglong> &ids)
{
    QStringList texts;
    texts.reserve(qsizetype(ids.size()));
    for (qlonglong id : ids)
        texts << QString::number(id);
    return texts.join(u',');
}

QString capitalised(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

// "Товар 5 «Цукор»", or "Товар 5" when the row it names is gone.
QString named(const QString &what, qlonglong id, const QString &name)
{
    const QString text = what + u' ' + QString::number(id);
    return name.isEmpty() ? text : text + QStringLiteral(" «") + name + QStringLiteral("»");
}

bool agree(double stock, double journal) { return std::abs(stock - journal) <= 1e-9 * std::max(1.0, std::abs(stock)); }

} // namespace

bool hasStockJournal(Database &database)
{
    MysqlResult result = database.select(QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES "
                                                        "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'ruhtovariv'"));
    MYSQL_ROW row = mysql_fetch_row(result.get());
    return row && rawNumber(row, 0) > 0;
}

StockCommand::StockCommand(Database &database, StockDocument document, qlonglong documentId)
    : m_database(database), m_document(document), m_documentId(documentId), m_journaled(hasStockJournal(database)),
      m_token(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

std::optional<QDateTime> StockCommand::earlierMove() const
{
    if (!m_journaled)
        return std::nullopt;
    MysqlResult result = m_database.select(QStringLiteral("SELECT MAX(Moment) FROM ruhtovariv WHERE IdDokumenta = %1 AND VydDokumenta = %2")
                                               .arg(m_documentId)
                                               .arg(QuoteSqlText(documentKind(m_document))));
    MYSQL_ROW row = mysql_fetch_row(result.get());
    if (!row || !row[0])
        return std::nullopt;
    // DATETIME(6) text: the microseconds are more than a clerk needs to see.
    return QDateTime::fromString(rawText(row, 0).left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

StockCommand::Outcome StockCommand::run(const std::function<void()> &statements)
{
    try {
        runInTransaction(m_database, [&] {
            m_changes.clear(); // a re-run records its changes afresh
            statements();
            writeJournal();
        });
        return Outcome::Done;
    } catch (const DatabaseError &error) {
        if (!m_journaled || !error.isConnectionLost() || error.statement() != QLatin1String("COMMIT"))
            throw;
        // The server may or may not have made the command durable before the connection went.
        const QString lost = QStringLiteral("Зв'язок з сервером перервався під час %1. ").arg(actionName());
        bool applied = false;
        try {
            applied = tookEffect();
        } catch (const Error &lookup) {
            throw Error(lost + QStringLiteral("Чи виконано %1, невідомо: %2").arg(actionName(), lookup.text()));
        }
        if (!applied)
            throw Error(lost + capitalised(actionName()) + QStringLiteral(" не виконано"));
        return Outcome::DoneDespiteLostCommit;
    }
}

QString StockCommand::doneDespiteLostCommitText() const
{
    return QStringLiteral("Зв'язок з сервером перервався під час %1. %2 виконано.").arg(actionName(), capitalised(actionName()));
}

void StockCommand::refreshAfter(const std::function<void()> &refresh) const
{
    try {
        try {
            refresh();
        } catch (const DatabaseError &error) {
            if (!error.isConnectionLost() && !error.isNodeNotReady())
                throw;
            refresh(); // the lost connection was let go: this opens a new one
        }
    } catch (const Error &error) {
        throw Error(QStringLiteral("%1 виконано, але оновити дані на екрані не вдалося: %2").arg(capitalised(actionName()), error.text()));
    }
}

QString StockCommand::actionName() const
{
    return m_document == StockDocument::Receipt ? QStringLiteral("оприбуткування") : QStringLiteral("переміщення");
}

bool StockCommand::tookEffect()
{
    // A locking read waits for a transaction that still holds the command's rows (its COMMIT or its
    // rollback under way) instead of reading around it. Using the connection reconnects it.
    MysqlResult result = m_database.select(
        QStringLiteral("SELECT COUNT(*) FROM ruhtovariv WHERE Komanda = %1 LOCK IN SHARE MODE").arg(QuoteSqlText(m_token)));
    MYSQL_ROW row = mysql_fetch_row(result.get());
    return row && rawNumber(row, 0) > 0;
}

void StockCommand::writeJournal()
{
    if (!m_journaled || m_changes.empty())
        return;

    // The quantity each changed stock row holds now, within this transaction.
    std::set<qlonglong> baseGoods;
    std::map<qlonglong, std::set<qlonglong>> shopGoods;
    for (const StockChange &change : m_changes) {
        if (change.shop)
            shopGoods[*change.shop].insert(change.goods);
        else
            baseGoods.insert(change.goods);
    }
    std::map<StockKey, double> quantity;
    const auto readQuantities = [&](const QString &select, bool hasShop, qlonglong shop) {
        MysqlResult result = m_database.select(select);
        while (MYSQL_ROW row = mysql_fetch_row(result.get()))
            quantity[{hasShop, shop, rawText(row, 0).toLongLong()}] = rawNumber(row, 1);
    };
    if (!baseGoods.empty())
        readQuantities(QStringLiteral("SELECT IdTovary, KilkistNaBazi FROM baza WHERE IdTovary IN (%1)").arg(joinIds(baseGoods)), false, 0);
    for (const auto &[shop, goods] : shopGoods)
        readQuantities(QStringLiteral("SELECT IdTovary, Kilkist FROM nayavnistvmagazuni WHERE IdMagazuny = %1 AND IdTovary IN (%2)")
                           .arg(shop)
                           .arg(joinIds(goods)),
                       true, shop);

    // Walking back from the end, the quantity after each change is what stands now less the changes
    // made after it. A change of a row that is not there (the base never held the goods) changed
    // nothing and has no row.
    std::vector<std::optional<double>> after(m_changes.size());
    for (size_t i = m_changes.size(); i-- > 0;) {
        const auto found = quantity.find(keyOf(m_changes[i]));
        if (found == quantity.end())
            continue;
        after[i] = found->second;
        found->second -= m_changes[i].quantity;
    }

    const QString fixed = QStringLiteral("(NOW(6),SUBSTRING_INDEX(USER(),'@',1),%1,%2,")
                              .arg(QuoteSqlText(documentKind(m_document)))
                              .arg(m_documentId);
    const QString token = QuoteSqlText(m_token);
    QStringList rows;
    const auto flush = [&] {
        if (rows.isEmpty())
            return;
        m_database.execute(QStringLiteral("INSERT INTO ruhtovariv (Moment, Korystuvach, VydDokumenta, IdDokumenta, IdTovary, "
                                          "IdMagazuny, Kilkist, Zalyshok, Komanda) VALUES ")
                           + rows.join(u','));
        rows.clear();
    };
    for (size_t i = 0; i < m_changes.size(); ++i) {
        if (!after[i])
            continue;
        const StockChange &change = m_changes[i];
        rows << fixed + QString::number(change.goods) + u',' + (change.shop ? QString::number(*change.shop) : QStringLiteral("NULL"))
                    + u',' + FormatSqlNumber(change.quantity) + u',' + FormatSqlNumber(*after[i]) + u',' + token + u')';
        if (size_t(rows.size()) >= RowsPerInsert)
            flush();
    }
    flush();
}

StockCheck compareStockWithJournal(Database &database)
{
    if (!hasStockJournal(database))
        throw Error(QStringLiteral("У базі даних немає журналу руху товару (ruhtovariv); його додає db/upgrade-journal.sql"));
    StockCheck check;
    {
        MysqlResult result = database.select(
            QStringLiteral("SELECT (SELECT COUNT(*) FROM baza) + (SELECT COUNT(*) FROM nayavnistvmagazuni)"));
        if (MYSQL_ROW row = mysql_fetch_row(result.get()))
            check.stockRows = rawText(row, 0).toLongLong();
    }
    // Each stock row beside the sum of its journal rows; a stock row missing counts as 0 and is
    // reported whatever the journal says, since the program never deletes one.
    MysqlResult result = database.select(QStringLiteral(
        "SELECT g.IdTovary, g.IdMagazuny, g.StockRows, g.Stock, g.Journal, tovary.NazvaTovary, magazunu.NazvaMagazuny "
        "FROM (SELECT t.IdTovary, t.IdMagazuny, SUM(t.StockRows) AS StockRows, SUM(t.Stock) AS Stock, SUM(t.Journal) AS Journal "
        "      FROM (SELECT IdTovary, NULL AS IdMagazuny, 1 AS StockRows, COALESCE(KilkistNaBazi, 0) AS Stock, 0 AS Journal FROM baza "
        "            UNION ALL SELECT IdTovary, IdMagazuny, 1, COALESCE(Kilkist, 0), 0 FROM nayavnistvmagazuni "
        "            UNION ALL SELECT IdTovary, IdMagazuny, 0, 0, Kilkist FROM ruhtovariv) AS t "
        "      GROUP BY t.IdTovary, t.IdMagazuny) AS g "
        "LEFT JOIN tovary ON tovary.Id = g.IdTovary LEFT JOIN magazunu ON magazunu.Id = g.IdMagazuny "
        "ORDER BY g.IdMagazuny, g.IdTovary"));
    while (MYSQL_ROW row = mysql_fetch_row(result.get())) {
        const bool hasStock = rawNumber(row, 2) > 0;
        const double stock = rawNumber(row, 3);
        const double journal = rawNumber(row, 4);
        if (hasStock && agree(stock, journal))
            continue;
        StockMismatch mismatch;
        mismatch.goods = rawText(row, 0).toLongLong();
        if (row[1])
            mismatch.shop = rawText(row, 1).toLongLong();
        if (hasStock)
            mismatch.stock = stock;
        mismatch.journal = journal;
        mismatch.goodsName = rawText(row, 5);
        mismatch.shopName = rawText(row, 6);
        check.mismatches.push_back(mismatch);
    }
    return check;
}

int checkStock(Database &database, QTextStream &out)
{
    const StockCheck check = compareStockWithJournal(database);
    for (const StockMismatch &m : check.mismatches) {
        const QString place = m.shop ? named(QStringLiteral("магазин"), *m.shop, m.shopName) : QStringLiteral("склад");
        out << QStringLiteral("%1, %2: залишок %3, за журналом %4")
                   .arg(named(QStringLiteral("Товар"), m.goods, m.goodsName), place,
                        m.stock ? LocaleNumberText(*m.stock) : QStringLiteral("немає"), LocaleNumberText(m.journal))
            << '\n';
    }
    out << QStringLiteral("Перевірено залишків: %1, розбіжностей: %2").arg(check.stockRows).arg(check.mismatches.size()) << '\n';
    return check.mismatches.empty() ? 0 : 1;
}

} // namespace coop
