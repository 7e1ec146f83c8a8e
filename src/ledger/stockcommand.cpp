#include "stockcommand.h"

#include "data/databaseerror.h"
#include "data/transaction.h"
#include "serverrows.h"

#include <QUuid>

#include <map>
#include <set>
#include <tuple>

namespace coop {

namespace {

// A multi-row INSERT stays well under a server's packet limit with this many rows in it.
constexpr size_t RowsPerInsert = 10000;

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

} // namespace

StockCommand::StockCommand(Database &database, StockDocument document, qlonglong documentId)
    : m_database(database), m_kind(documentKind(document)), m_documentId(documentId), m_journaled(hasStockJournal(database)),
      m_token(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

std::optional<QDateTime> StockCommand::earlierMove() const
{
    if (!m_journaled)
        return std::nullopt;
    MysqlResult result =
        m_database.select(QStringLiteral("SELECT MAX(Moment) FROM ruhtovariv WHERE IdDokumenta = %1 AND VydDokumenta = %2")
                              .arg(m_documentId)
                              .arg(QuoteSqlText(m_kind.journalName)));
    MYSQL_ROW row = mysql_fetch_row(result.get());
    if (!row || !row[0])
        return std::nullopt;
    // DATETIME(6) text: the microseconds are more than a clerk needs to see.
    return QDateTime::fromString(serverrows::text(row, 0).left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void StockCommand::record(const StockChange &change)
{
    if (!m_refusal.isEmpty())
        throw Error(QStringLiteral("Команда змінила залишок після відмови (%1); нічого не змінено").arg(m_refusal));
    m_changes.push_back(change);
}

void StockCommand::refuse(const QString &reason)
{
    if (!m_changes.empty())
        throw Error(QStringLiteral("Команда відмовилася (%1) вже після змін залишків; нічого не змінено").arg(reason));
    m_refusal = reason;
}

StockCommand::Outcome StockCommand::run(const std::function<void()> &statements)
{
    try {
        runInTransaction(m_database, [&] {
            m_changes.clear(); // a re-run records its changes afresh
            m_refusal.clear();
            statements();
            writeJournal();
        });
        return m_refusal.isEmpty() ? Outcome::Done : Outcome::Refused;
    } catch (const DatabaseError &error) {
        if (!m_journaled || !error.isConnectionLost() || error.statement() != QLatin1String("COMMIT"))
            throw;
        // A refused command changed nothing: whether its COMMIT arrived or not, the refusal is the truth.
        if (!m_refusal.isEmpty())
            return Outcome::Refused;
        // The server may or may not have made the command durable before the connection went.
        const QString action = m_kind.actionName;
        const QString lost = QStringLiteral("Зв'язок з сервером перервався під час %1. ").arg(action);
        bool applied = false;
        try {
            applied = tookEffect();
        } catch (const Error &lookup) {
            throw Error(lost + QStringLiteral("Чи виконано %1, невідомо: %2").arg(action, lookup.text()));
        }
        if (!applied)
            throw Error(lost + capitalised(action) + QStringLiteral(" не виконано"));
        return Outcome::DoneDespiteLostCommit;
    }
}

QString StockCommand::doneDespiteLostCommitText() const
{
    return QStringLiteral("Зв'язок з сервером перервався під час %1. %2 виконано.")
        .arg(m_kind.actionName, capitalised(m_kind.actionName));
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
        throw Error(QStringLiteral("%1 виконано, але оновити дані на екрані не вдалося: %2")
                        .arg(capitalised(m_kind.actionName), error.text()));
    }
}

bool StockCommand::tookEffect()
{
    // A locking read waits for a transaction that still holds the command's rows (its COMMIT or its
    // rollback under way) instead of reading around it. Using the connection reconnects it.
    return serverrows::firstInteger(
               m_database,
               QStringLiteral("SELECT COUNT(*) FROM ruhtovariv WHERE Komanda = %1 LOCK IN SHARE MODE").arg(QuoteSqlText(m_token)))
        > 0;
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
            quantity[{hasShop, shop, serverrows::integer(row, 0)}] = serverrows::number(row, 1);
    };
    if (!baseGoods.empty())
        readQuantities(QStringLiteral("SELECT IdTovary, KilkistNaBazi FROM baza WHERE IdTovary IN (%1)").arg(joinIds(baseGoods)),
                       false, 0);
    for (const auto &[shop, goods] : shopGoods)
        readQuantities(
            QStringLiteral("SELECT IdTovary, Kilkist FROM nayavnistvmagazuni WHERE IdMagazuny = %1 AND IdTovary IN (%2)")
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

    const QString fixed =
        QStringLiteral("(NOW(6),SUBSTRING_INDEX(USER(),'@',1),%1,%2,").arg(QuoteSqlText(m_kind.journalName)).arg(m_documentId);
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
        rows << fixed + QString::number(change.goods) + u','
                + (change.shop ? QString::number(*change.shop) : QStringLiteral("NULL")) + u',' + FormatSqlNumber(change.quantity)
                + u',' + FormatSqlNumber(*after[i]) + u',' + token + u')';
        if (size_t(rows.size()) >= RowsPerInsert)
            flush();
    }
    flush();
}

} // namespace coop
