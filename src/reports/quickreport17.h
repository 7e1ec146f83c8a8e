#pragma once

#include "reports/documentlayout.h"

namespace coop {

class Query;

// "Прибуткова накладна": one goods receipt with VAT at 20 %. Reads Form7.Query1 (nazvaPostachalnuka,
// DataNadhodgenya) and every row of Form7.Query3 (NazvaTovary, Kilkist, Cina, calculated Suma).
class TQuickReport17 : public DocumentLayout
{
public:
    TQuickReport17(const Query &header, Query &lines, QObject *parent = nullptr);
};

} // namespace coop
