#pragma once

#include "reports/documentlayout.h"

namespace coop {

class Query;

// "Акт ревізії" of a shop: what an audit counted there. Reads Form14.Query1 (NazvaMagazuny) and
// every row that Form14.Query2 presents through its date filter (NazvaTovary, Kilkist).
class TQuickReport20 : public DocumentLayout
{
public:
    TQuickReport20(const Query &shops, Query &lines, QObject *parent = nullptr);
};

} // namespace coop
