#include "shoptransfer.h"

#include "data/format.h"
#include "serverrows.h"

#include <map>

namespace coop {

namespace {

// Whether the base holds what the lines take of each goods, their lines of the same goods added up.
// The base rows read stay locked until the command ends, so that no other transfer can take the
// same stock in between.
bool baseCovers(Database &database, const std::vector<TransferLine> &lines)
{
    std::map<qlonglong, double> wanted;
    for (const TransferLine &line : lines)
        wanted[line.goods] += line.quantity;
    QStringList goods;
    for (const auto &[id, quantity] : wanted)
        goods << QString::number(id);

    MysqlResult result = database.select(QStringLiteral("select IdTovary, KilkistNaBazi from baza\n"
                                                        "where IdTovary in (")
                                         + goods.join(u',') + QStringLiteral(") for update"));
    // Goods the base has no row for hold nothing.
    std::map<qlonglong, double> held;
    while (MYSQL_ROW row = mysql_fetch_row(result.get()))
        held[serverrows::integer(row, 0)] += serverrows::number(row, 1);

    for (const auto &[id, quantity] : wanted) {
        const auto found = held.find(id);
        if ((found == held.end() ? 0.0 : found->second) - quantity < 0)
            return false;
    }
    return true;
}

} // namespace

QString baseShortText() { return QStringLiteral("На складі немає такої кількості товару"); }

StockCommand::Outcome transferToShop(StockCommand &command, qlonglong shopId, const std::vector<TransferLine> &lines,
                                     const LineProgress &progress)
{
    Database &database = command.database();
    const QString shop = QString::number(shopId);
    return command.run([&] {
        if (!baseCovers(database, lines)) {
            command.refuse(baseShortText());
            return;
        }
        if (progress)
            progress(0);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const TransferLine &line = lines[i];
            const QString goods = QString::number(line.goods);
            // Whole quantities read as their digits; a fraction from elsewhere still makes valid SQL.
            const QString quantity = FormatSqlNumber(line.quantity);
            const QString price = QuoteSqlText(FormatSqlNumber(ReadTypedNumber(line.priceText)));

            database.execute(QStringLiteral("update baza SET KilkistNaBazi=KilkistNaBazi-") + quantity
                             + QStringLiteral("\nwhere baza.IdTovary=") + goods);
            command.record({line.goods, std::nullopt, -line.quantity});

            const qlonglong count =
                serverrows::firstInteger(database,
                                         QStringLiteral("Select (count(`Id`)) as 'cnt' from `nayavnistvmagazuni`\n"
                                                        "where (`IdTovary`=")
                                             + goods + QStringLiteral(")and(`IdMagazuny`=") + shop + QStringLiteral(");"));
            if (count < 1)
                database.execute(QStringLiteral("insert into `nayavnistvmagazuni` values (NULL,") + shop + u',' + goods + u','
                                 + quantity + u',' + price + QStringLiteral(",1.25*") + price + QStringLiteral(");"));
            else
                database.execute(QStringLiteral("update nayavnistvmagazuni SET Kilkist=Kilkist+") + quantity
                                 + QStringLiteral(", CinaOblikova=") + price + QStringLiteral(", CinaRozdribna=1.25*") + price
                                 + QStringLiteral("\nwhere nayavnistvmagazuni.IdTovary=") + goods
                                 + QStringLiteral(" AND nayavnistvmagazuni.IdMagazuny=") + shop);
            command.record({line.goods, shopId, line.quantity});
            if (progress)
                progress(i + 1);
        }
    });
}

} // namespace coop
