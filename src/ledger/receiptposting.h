#pragma once

#include "stockcommand.h"

#include <vector>

namespace coop {

// A line of a receipt as posting takes it: the goods and its quantity (positive; the screen refuses
// a receipt with any other before it posts).
struct ReceiptLine
{
    qlonglong goods = 0;
    double quantity = 0;
};

// "На склад": the receipt's lines added to the base warehouse, in their order, as `command` (a
// receipt's). Each line is counted in baza afresh, then inserted as a new stock row or added to the
// one there, so that two lines of the same new goods make one row. Answers the command's outcome.
StockCommand::Outcome postReceipt(StockCommand &command, const std::vector<ReceiptLine> &lines,
                                  const LineProgress &progress = {});

} // namespace coop
