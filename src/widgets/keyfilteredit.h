#pragma once

#include "data/keyfilters.h"

class QLineEdit;

namespace coop {

// Makes the key filter see every character typed into the edit field, backspace as character 8;
// the character it answers is what the field receives, a null character is dropped. Cursor keys
// and Delete are not characters and pass untouched. Pasted or dropped text passes the filter
// character by character; text set any other way (the accessibility interface, the program) must
// pass it whole or be a number of no sign as the system shows a stored value, or the field empties.
void attachKeyFilter(QLineEdit *edit, KeyFilter filter);

} // namespace coop
