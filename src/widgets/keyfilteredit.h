#pragma once

#include "data/keyfilters.h"

class QLineEdit;

namespace coop {

// Makes the key filter see every character typed into the edit field, backspace as character 8;
// the character it answers is what the field receives, a null character is dropped. Cursor keys
// and Delete are not characters and pass untouched.
void attachKeyFilter(QLineEdit *edit, KeyFilter filter);

} // namespace coop
