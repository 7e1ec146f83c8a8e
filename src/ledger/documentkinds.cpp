#include "documentkinds.h"

#include "data/databaseerror.h"
#include "data/format.h"

namespace coop {

const std::vector<DocumentKind> &documentKinds()
{
    static const std::vector<DocumentKind> kinds = {
        {StockDocument::Opening, QStringLiteral("залишок на початок"), QStringLiteral("Залишок на початок"), {}, {}, {}},
        {StockDocument::Receipt, QStringLiteral("надходження"), QStringLiteral("Надходження"), QStringLiteral("nadhodgennya"),
         QStringLiteral("DataNadhodgenya"), QStringLiteral("оприбуткування")},
        {StockDocument::Distribution, QStringLiteral("розподіл"), QStringLiteral("Розподіл"), QStringLiteral("rozpodil"),
         QStringLiteral("DataRozpodily"), QStringLiteral("переміщення")},
    };
    return kinds;
}

const DocumentKind &documentKind(StockDocument document)
{
    for (const DocumentKind &kind : documentKinds())
        if (kind.document == document)
            return kind;
    throw Error(QStringLiteral("Вид документа %1 не описано").arg(int(document)));
}

const DocumentKind *documentKindNamed(const QString &journalName)
{
    for (const DocumentKind &kind : documentKinds())
        if (kind.journalName == journalName)
            return &kind;
    return nullptr;
}

QStringList documentTextExpression(const QString &journal)
{
    QStringList lines{QStringLiteral("CASE %1.VydDokumenta").arg(journal)};
    for (const DocumentKind &kind : documentKinds()) {
        const QString when = QStringLiteral("  WHEN %1 THEN ").arg(QuoteSqlText(kind.journalName));
        if (kind.headerTable.isEmpty()) {
            lines << when + QuoteSqlText(kind.title);
            continue;
        }
        // The number stays when the header has been deleted since; its date goes with it.
        lines << when
                + QStringLiteral("CONCAT(%1, %2.IdDokumenta, COALESCE(CONCAT(' від ', DATE_FORMAT(%3.%4, '%d.%m.%Y')), ''))")
                      .arg(QuoteSqlText(kind.title + QStringLiteral(" № ")), journal, kind.headerTable, kind.dateColumn);
    }
    lines << QStringLiteral("  ELSE %1.VydDokumenta END").arg(journal);
    return lines;
}

QStringList documentJoins(const QString &journal)
{
    QStringList lines;
    for (const DocumentKind &kind : documentKinds())
        if (!kind.headerTable.isEmpty())
            lines << QStringLiteral("left join %1 on %2.VydDokumenta = %3 and %1.Id = %2.IdDokumenta")
                         .arg(kind.headerTable, journal, QuoteSqlText(kind.journalName));
    return lines;
}

} // namespace coop
