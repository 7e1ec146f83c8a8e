// The restore's check of a copy, over any text: it passes the copy whole or refuses it with its
// line (coop::Error and nothing else), decides the same however the copy is cut into pieces, hands
// out only a beginning of the copy, and what it handed out before a refusal passes again alone.

#include "fuzzcheck.h"

#include "admin/dumpcheck.h"

using namespace coop;

namespace {

struct Outcome
{
    QString refusal; // empty when the copy passed
    QByteArray handedOut;
};

// Feeds the copy in the pieces `cut` gives for each offset, taking what is checked after each.
template<typename Cut>
Outcome check(const QByteArray &copy, Cut cut)
{
    DumpCheck dump;
    Outcome outcome;
    const bool passed = fuzz::raisesOnlyCoopError(
        [&] {
            for (qsizetype at = 0; at < copy.size();) {
                const qsizetype piece = std::min(cut(at), copy.size() - at);
                dump.feed(copy.constData() + at, piece);
                outcome.handedOut += dump.takeChecked();
                at += piece;
            }
            dump.finish();
            outcome.handedOut += dump.takeChecked();
        },
        &outcome.refusal);
    if (!passed)
        outcome.handedOut += dump.takeChecked();
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray copy = fuzz::bytes(data, size);
    const Outcome whole = check(copy, [&](qsizetype) { return copy.size(); });
    // The pieces a pipe may deliver: lengths taken from the copy's own bytes.
    const Outcome pieces = check(copy, [&](qsizetype at) { return qsizetype(1 + uchar(copy[at]) % 23); });
    FUZZ_CHECK(pieces.refusal == whole.refusal, pieces.refusal + QStringLiteral(" / ") + whole.refusal);
    FUZZ_CHECK(pieces.handedOut == whole.handedOut);
    FUZZ_CHECK(copy.startsWith(whole.handedOut));
    if (whole.refusal.isEmpty()) {
        FUZZ_CHECK(whole.handedOut == copy);
        return 0;
    }
    FUZZ_CHECK(whole.refusal.startsWith(QStringLiteral("рядок ")), whole.refusal);
    // What went out to the client before the refusal is a copy that passes by itself.
    const Outcome again = check(whole.handedOut, [&](qsizetype) { return whole.handedOut.size(); });
    FUZZ_CHECK(again.refusal.isEmpty(), again.refusal);
    FUZZ_CHECK(again.handedOut == whole.handedOut);
    return 0;
}
