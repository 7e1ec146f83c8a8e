#pragma once

#include "data/database.h"
#include "data/query.h"
#include "reports/quickreport17.h"
#include "reports/quickreport18.h"
#include "reports/quickreport19.h"
#include "reports/quickreport20.h"
#include "reports/quickreport21.h"
#include "support/testdatabase.h"

#include <QDate>
#include <QList>

// The queries that the five documents read, declared as their screens declare them (statement
// texts, fields, calculated sums, lines rebuilt for the current header), over a fresh database with
// the system's schema, and the five documents bound to them as the window registry binds them.
class ScreenQueries
{
public:
    struct Line
    {
        QString goods;
        double kilkist = 0;
        double cina = 0; // the price, where the document has one
        QDate date = {}; // shop audits: the audit date
    };
    using Lines = QList<Line>;

    // The header data that the documents print.
    static inline const QString Supplier = QStringLiteral("ТОВ «Зоря»");
    static inline const QDate ReceiptDate{2011, 5, 12};
    static inline const QString Shop = QStringLiteral("Магазин №3 «Колос»");
    static inline const QString Auditor = QStringLiteral("Коваль Петро Іванович");
    static inline const QString BasisDocument = QStringLiteral("Наказ 12");
    static inline const QDate AuditDate{2011, 6, 30};

    ScreenQueries();

    // Fills the tables of document `number` (17 to 21) with its header and these lines, after
    // another header with lines of its own, and opens the queries as the screen shows them with
    // that header current. The stock card has no header: its lines are the stock rows.
    void show(int number, const Lines &lines);

    const coop::DocumentLayout &document(int number) const;
    coop::Query &linesOf(int number);
    const coop::Query *headerOf(int number) const; // none for the stock card

    TestDatabase database;
    coop::Database connection;

    coop::Query form7Query1{connection}, form7Query3{connection};
    coop::Query form11Query1{connection}, form11Query3{connection};
    coop::Query form12Query1{connection};
    coop::Query form14Query1{connection}, form14Query2{connection};
    coop::Query form15Query1{connection}, form15Query3{connection};

    coop::TQuickReport17 quickReport17{form7Query1, form7Query3};
    coop::TQuickReport18 quickReport18{form11Query1, form11Query3};
    coop::TQuickReport19 quickReport19{form12Query1};
    coop::TQuickReport20 quickReport20{form14Query1, form14Query2};
    coop::TQuickReport21 quickReport21{form15Query1, form15Query3};

private:
    int addGoods(const QString &name);
    void showReceipt(const Lines &lines);
    void showDistribution(const Lines &lines);
    void showStock(const Lines &lines);
    void showShopAudit(const Lines &lines);
    void showBaseAudit(const Lines &lines);
};
