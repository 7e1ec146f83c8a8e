#pragma once

namespace coop {

// What the open edit panel's "Прийняти" will do, kept in the screen's Tag. The numbers are the Tag
// values the screens have always used: a catalog screen holds 0 until its first "Додати" or
// "Редагувати"; a document screen uses 1 and 2 for its headers and 3 and 4 for its lines, and a
// screen whose headers are only listed (the shops) 1 and 2 for its lines.
enum class EditMode {
    None = 0,
    Insert = 1,
    Update = 2,
    InsertLine = 3,
    UpdateLine = 4,
};

} // namespace coop
