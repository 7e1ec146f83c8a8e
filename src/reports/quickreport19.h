#pragma once

#include "reports/documentlayout.h"

namespace coop {

class Query;

// "Картка складського обліку": the base warehouse stock. Reads every row of Form12.Query1
// (nazvatovary, kilkistNaBazi).
class TQuickReport19 : public DocumentLayout
{
public:
    explicit TQuickReport19(Query &stock, QObject *parent = nullptr);
};

} // namespace coop
