#pragma once

#include "reports/reportdocument.h"
#include "reports/reportlayout.h"

namespace coop {

// The system's long time format, printed after the short date by date-and-time system data.
inline constexpr const char *LongTimeFormat = "H:mm:ss";

// Lays the document out in one pass: the title at the top of the first page, one detail band per
// row of the detail query (flowing onto further pages, with no header repeated), the summary after
// the last row, on a new page when it does not fit. The detail query is walked from its first row
// to its last and stays on its last row; no other query moves. Aggregates start at zero on every
// call. A field the queries lack or an expression that cannot be read raises coop::Error before
// any query moves.
ReportDocument BuildReport(const ReportLayout &layout);

} // namespace coop
