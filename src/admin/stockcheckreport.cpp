#include "stockcheckreport.h"

#include "data/format.h"
#include "ledger/stockcheck.h"

#include <QTextStream>

namespace coop {

namespace {

// "Товар 5 «Цукор»", or "Товар 5" when the row it names is gone.
QString named(const QString &what, qlonglong id, const QString &name)
{
    const QString text = what + u' ' + QString::number(id);
    return name.isEmpty() ? text : text + QStringLiteral(" «") + name + QStringLiteral("»");
}

} // namespace

int printStockCheck(Database &database, QTextStream &out)
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
