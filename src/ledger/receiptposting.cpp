#include "receiptposting.h"

#include "data/format.h"
#include "serverrows.h"

namespace coop {

StockCommand::Outcome postReceipt(StockCommand &command, const std::vector<ReceiptLine> &lines, const LineProgress &progress)
{
    Database &database = command.database();
    return command.run([&] {
        if (progress)
            progress(0);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const ReceiptLine &line = lines[i];
            const QString goods = QString::number(line.goods);
            // The field text of a whole quantity is its digits; a fractional one stored from elsewhere
            // would carry the locale's comma into the statement, so it goes as SQL number text.
            const QString quantity = FormatSqlNumber(line.quantity);
            const qlonglong count = serverrows::firstInteger(database,
                                                             QStringLiteral("Select (count(`Id`)) as 'cnt' from `baza`\n"
                                                                            "where (`IdTovary`=")
                                                                 + goods + QStringLiteral(");"));
            if (count < 1)
                database.execute(QStringLiteral("insert into `baza` values (NULL,") + goods + u',' + quantity
                                 + QStringLiteral(");"));
            else
                database.execute(QStringLiteral("Update baza SET KilkistNaBazi=KilkistNaBazi+(") + QuoteSqlText(quantity)
                                 + QStringLiteral(") where IdTovary=") + goods);
            command.record({line.goods, std::nullopt, line.quantity});
            if (progress)
                progress(i + 1);
        }
    });
}

} // namespace coop
