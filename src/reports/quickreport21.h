#pragma once

#include "reports/documentlayout.h"

namespace coop {

class Query;

// "Акт ревізії" of the base warehouse. Reads Form15.Query1 (PIB, Dokyment, DataRevizii) and every
// row of Form15.Query3 (NazvaTovary, Kilkist, Cina, calculated Suma).
class TQuickReport21 : public DocumentLayout
{
public:
    TQuickReport21(const Query &header, Query &lines, QObject *parent = nullptr);
};

} // namespace coop
