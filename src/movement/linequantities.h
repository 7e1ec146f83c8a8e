#pragma once

namespace coop {

class Field;
class Query;

// Posting and transfer move only positive quantities: a line whose quantity is zero, negative or
// missing would lower the stock it means to raise (or raise the one it means to lower). Looks at
// every line without moving the current one; tells the clerk about the first such line and answers
// false, before anything is written.
bool lineQuantitiesArePositive(const Query &lines, const Field *quantity, const Field *goodsName);

} // namespace coop
