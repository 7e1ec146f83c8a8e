// The row counter of the backup's dump stream: whatever the bytes, it counts without fault, lists
// each table once, and counts the same however the stream is cut into pieces.

#include "fuzzcheck.h"

#include "admin/dumprowcounter.h"

using namespace coop;

namespace {

QString describe(const QList<TableRows> &tables)
{
    QStringList parts;
    for (const TableRows &table : tables)
        parts.append(QStringLiteral("%1=%2").arg(table.table).arg(table.rows));
    return parts.join(u' ');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray dump = fuzz::bytes(data, size);
    DumpRowCounter whole;
    whole.feed(dump);

    // The pieces a pipe may deliver: one byte, then lengths taken from the stream's own bytes.
    DumpRowCounter pieces;
    for (qsizetype at = 0, piece = 1; at < dump.size(); piece = 1 + (uchar(dump[at - 1]) % 17)) {
        piece = std::min(piece, dump.size() - at);
        pieces.feed(dump.constData() + at, piece);
        at += piece;
    }
    FUZZ_CHECK(pieces.tables() == whole.tables(), describe(pieces.tables()) + QStringLiteral(" / ") + describe(whole.tables()));

    qint64 total = 0;
    for (qsizetype i = 0; i < whole.tables().size(); ++i) {
        FUZZ_CHECK(whole.tables()[i].rows >= 0);
        total += whole.tables()[i].rows;
        for (qsizetype j = i + 1; j < whole.tables().size(); ++j)
            FUZZ_CHECK(whole.tables()[i].table != whole.tables()[j].table, whole.tables()[i].table);
    }
    FUZZ_CHECK(total == whole.totalRows());
    // A row starts with "(": there are never more rows than brackets.
    FUZZ_CHECK(total <= dump.count('('));
    return 0;
}
