#pragma once

#include "stockcommand.h"

#include <QString>

#include <vector>

namespace coop {

// A line of a distribution as the transfer takes it: the goods, its quantity (positive; the screen
// refuses a distribution with any other before it moves), and its supply price as the grid shows it
// (the field text, "12,5"), which the statements read back as a typed number.
struct TransferLine
{
    qlonglong goods = 0;
    double quantity = 0;
    QString priceText;
};

// What the clerk is told when the base does not hold what the distribution takes.
QString baseShortText();

// "Списати з складу": the distribution's lines moved from the base warehouse into the shop's stock,
// as `command` (a distribution's). The base rows of its goods are read and locked first: when the
// base holds less of any goods than the lines take of it together, the command is refused with
// baseShortText() and nothing moves. Otherwise every line, in its order, lowers the base and raises
// the shop's row (counted afresh, inserted or updated) at its price for accounting and 1.25 times it
// for retail. Answers the command's outcome.
StockCommand::Outcome transferToShop(StockCommand &command, qlonglong shop, const std::vector<TransferLine> &lines,
                                     const LineProgress &progress = {});

} // namespace coop
