// The base warehouse and shop stock screens: what they list, the shop grid driving the stock grid,
// the value of a stock row, and that opening them reloads nothing.
#include "data/database.h"
#include "data/query.h"
#include "stock/form12.h"
#include "stock/form13.h"
#include "support/controls.h"
#include "support/guitestmain.h"
#include "support/testdatabase.h"
#include "widgets/dbgrid.h"

#include <QHeaderView>

using namespace coop;

namespace {

QStringList column(DBGrid *grid, int column)
{
    QStringList texts;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        texts << grid->model()->index(row, column).data().toString();
    return texts;
}

QStringList titles(DBGrid *grid)
{
    QStringList texts;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        texts << grid->model()->headerData(c, Qt::Horizontal).toString();
    return texts;
}

} // namespace

class TestStockScreens : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Database> m_connection;

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_db->exec(QStringLiteral(
            "INSERT INTO tovary (Id, NazvaTovary) VALUES (1, 'Цукор'), (2, 'Сіль'), (3, 'Олія');"
            "INSERT INTO baza VALUES (1, 1, 40), (2, 2, 0), (3, 99, 5);" // goods 99 no longer exists
            "INSERT INTO spivrobitnuku (Id, PIB) VALUES (1, 'Іваненко'), (2, 'Петренко');"
            "INSERT INTO magazunu VALUES (10, 'Колосок', 'вул. Миру', 1), (11, 'Берізка', 'вул. Лісова', 2),"
            "  (12, 'Без завідуючого', 'вул. Нова', 77), (13, 'Пусто', 'вул. Тиха', 1);"
            "INSERT INTO nayavnistvmagazuni VALUES (1, 10, 1, 10, 2.5, 3.125), (2, 11, 2, 4, 1.2, 1.5), (3, 11, 3, NULL, 7, 8.75)"));
        m_connection = std::make_unique<Database>();
        m_connection->setStatementLogging(true);
    }
    void cleanup()
    {
        m_connection.reset();
        m_db.reset();
    }

    void baseStock()
    {
        TForm12 form(*m_connection);
        form.create();
        QCOMPARE(form.windowTitle(), QStringLiteral("Склад"));
        QCOMPARE(titles(control<coop::DBGrid>(form, "DBGrid1")), QStringList({"Код", "Назва товару", "Кількість на складі"}));
        // The stock row's own key; stock at 0 listed; the row of a vanished article not.
        QCOMPARE(column(control<coop::DBGrid>(form, "DBGrid1"), 0), QStringList({"1", "2"}));
        QCOMPARE(column(control<coop::DBGrid>(form, "DBGrid1"), 2), QStringList({"40", "0"}));

        // Opening the screen re-reads nothing: a change made elsewhere shows only after a reload.
        m_db->exec(QStringLiteral("UPDATE baza SET KilkistNaBazi = 41 WHERE Id = 1"));
        m_connection->clearStatementLog();
        form.show();
        QVERIFY(m_connection->statementLog().isEmpty());
        QCOMPARE(column(control<coop::DBGrid>(form, "DBGrid1"), 2).first(), QStringLiteral("40"));
        form.Query1->close();
        form.Query1->open();
        QCOMPARE(column(control<coop::DBGrid>(form, "DBGrid1"), 2).first(), QStringLiteral("41"));
    }

    void shopStockFollowsTheSelectedShop()
    {
        TForm13 form(*m_connection);
        form.create();
        // A shop without a manager row is not listed.
        QCOMPARE(column(control<coop::DBGrid>(form, "DBGrid1"), 0), QStringList({"Колосок", "Берізка", "Пусто"}));
        QCOMPARE(titles(control<coop::DBGrid>(form, "DBGrid2")), QStringList({"Назва товару", "Кількість", "Ціна облікова", "Ціна роздрібна", "Сума"}));
        // At creation the first shop is current and its stock loaded before Query3's own open.
        QCOMPARE(m_connection->statementLog().size(), 2);
        QVERIFY(m_connection->statementLog().at(1).endsWith(QStringLiteral("\nand nayavnistvmagazuni.Idmagazuny=10")));
        QCOMPARE(column(control<coop::DBGrid>(form, "DBGrid2"), 0), QStringList({"Цукор"}));
        QCOMPARE(column(control<coop::DBGrid>(form, "DBGrid2"), 4), QStringList({"25"})); // 10 × 2,5 at the accounting price

        form.show();
        QTest::mouseClick(control<coop::DBGrid>(form, "DBGrid1")->viewport(), Qt::LeftButton, {},
                          control<coop::DBGrid>(form, "DBGrid1")->visualRect(control<coop::DBGrid>(form, "DBGrid1")->model()->index(1, 0)).center());
        QCOMPARE(column(control<coop::DBGrid>(form, "DBGrid2"), 0), QStringList({"Сіль", "Олія"}));
        QCOMPARE(column(control<coop::DBGrid>(form, "DBGrid2"), 4), QStringList({"4,8", "0"})); // a NULL quantity counts as 0

        form.Query1->setRecNo(2);
        QCOMPARE(control<coop::DBGrid>(form, "DBGrid2")->model()->rowCount(), 0);
    }

    void noShopsShowsAllStock()
    {
        m_db->exec(QStringLiteral("DELETE FROM spivrobitnuku")); // no shop has its manager: none is listed
        TForm13 form(*m_connection);
        form.create();
        QCOMPARE(control<coop::DBGrid>(form, "DBGrid1")->model()->rowCount(), 0);
        QCOMPARE(form.Query3->sql().count(), 3); // the stored text, never rebuilt
        QVERIFY(form.Query3->active());
        QCOMPARE(column(control<coop::DBGrid>(form, "DBGrid2"), 0), QStringList({"Цукор", "Сіль", "Олія"})); // every shop's stock together
    }
};

COOP_GUI_TEST_MAIN(TestStockScreens)
#include "test_stockscreens.moc"
