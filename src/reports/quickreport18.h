#pragma once

#include "reports/documentlayout.h"

namespace coop {

class Query;

// "Накладна на внутрішнє переміщення": one distribution to a shop. Reads Form11.Query1
// (NazvaMagazuny) and every row of Form11.Query3 (nazvatovary, Kilkist, CinaPostachannya,
// calculated whole-number Suma).
class TQuickReport18 : public DocumentLayout
{
public:
    TQuickReport18(const Query &header, Query &lines, QObject *parent = nullptr);
};

} // namespace coop
