#pragma once

#include "reports/documentlayout.h"

namespace coop {

class Query;

// The five printed documents. Each is bound to the queries of the screen it prints from: the
// header query's current row gives the document's head, every row of the lines query one table
// row. The print buttons of the screens call Preview.

// "Прибуткова накладна": one goods receipt with VAT at 20 %. Reads Form7.Query1 (nazvaPostachalnuka,
// DataNadhodgenya) and every row of Form7.Query3 (NazvaTovary, Kilkist, Cina, calculated Suma).
class TQuickReport17 : public DocumentLayout
{
    Q_OBJECT

public:
    TQuickReport17(const Query &header, Query &lines, QObject *parent = nullptr);
};

// "Накладна на внутрішнє переміщення": one distribution to a shop. Reads Form11.Query1
// (NazvaMagazuny) and every row of Form11.Query3 (nazvatovary, Kilkist, CinaPostachannya,
// calculated whole-number Suma).
class TQuickReport18 : public DocumentLayout
{
    Q_OBJECT

public:
    TQuickReport18(const Query &header, Query &lines, QObject *parent = nullptr);
};

// "Картка складського обліку": the base warehouse stock. Reads every row of Form12.Query1
// (nazvatovary, kilkistNaBazi).
class TQuickReport19 : public DocumentLayout
{
    Q_OBJECT

public:
    explicit TQuickReport19(Query &stock, QObject *parent = nullptr);
};

// "Акт ревізії" of a shop: what an audit counted there. Reads Form14.Query1 (NazvaMagazuny) and
// every row that Form14.Query2 presents through its date filter (NazvaTovary, Kilkist).
class TQuickReport20 : public DocumentLayout
{
    Q_OBJECT

public:
    TQuickReport20(const Query &shops, Query &lines, QObject *parent = nullptr);
};

// "Акт ревізії" of the base warehouse. Reads Form15.Query1 (PIB, Dokyment, DataRevizii) and every
// row of Form15.Query3 (NazvaTovary, Kilkist, Cina, calculated Suma).
class TQuickReport21 : public DocumentLayout
{
    Q_OBJECT

public:
    TQuickReport21(const Query &header, Query &lines, QObject *parent = nullptr);
};

} // namespace coop
