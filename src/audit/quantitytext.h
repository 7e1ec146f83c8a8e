#pragma once

#include "data/format.h"

namespace coop {

// The quantity of an audit line as it goes into a statement. A typed quantity holds digits only
// and goes as typed; a stored fractional quantity comes back into the field as "2,5", and the
// server would refuse that text for a number column (or a lax one would keep only the 2), so
// such a text goes as the number it reads.
inline QString AuditQuantityText(const QString &text)
{
    return text.contains(DecimalSeparator) ? FormatSqlNumber(ReadTypedNumber(text)) : text;
}

} // namespace coop
