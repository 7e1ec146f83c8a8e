// The base warehouse and shop stock screens: what they list, the shop grid driving the stock grid,
// the value of a stock row, and that opening them reloads nothing.
#include "data/database.h"
#include "data/query.h"
#include "stock/form12.h"
#include "stock/form13.h"
#include "stock/movementhistory.h"
#include "widgets/messages.h"
#include "widgets/screen.h"
#include "support/controls.h"
#include "support/guitestmain.h"
#include "support/messagerecorder.h"
#include "support/testdatabase.h"
#include "widgets/dbgrid.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>

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
        QCOMPARE(titles(control<coop::DBGrid>(form, "DBGrid1")), QStringList({QStringLiteral("Код"), QStringLiteral("Назва товару"), QStringLiteral("Кількість на складі")}));
        // The stock row's own key; stock at 0 listed; the row of a vanished article not.
        QCOMPARE(column(control<coop::DBGrid>(form, "DBGrid1"), 0), QStringList({QStringLiteral("1"), QStringLiteral("2")}));
        QCOMPARE(column(control<coop::DBGrid>(form, "DBGrid1"), 2), QStringList({QStringLiteral("40"), QStringLiteral("0")}));

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
        QCOMPARE(column(control<coop::DBGrid>(form, "DBGrid1"), 0), QStringList({QStringLiteral("Колосок"), QStringLiteral("Берізка"), QStringLiteral("Пусто")}));
        QCOMPARE(titles(control<coop::DBGrid>(form, "DBGrid2")), QStringList({QStringLiteral("Назва товару"), QStringLiteral("Кількість"), QStringLiteral("Ціна облікова"), QStringLiteral("Ціна роздрібна"), QStringLiteral("Сума")}));
        // At creation the first shop is current and its stock loaded before Query3's own open.
        QCOMPARE(m_connection->statementLog().size(), 2);
        QVERIFY(m_connection->statementLog().at(1).endsWith(QStringLiteral("\nand nayavnistvmagazuni.Idmagazuny=10")));
        QCOMPARE(column(control<coop::DBGrid>(form, "DBGrid2"), 0), QStringList({QStringLiteral("Цукор")}));
        QCOMPARE(column(control<coop::DBGrid>(form, "DBGrid2"), 4), QStringList({QStringLiteral("25")})); // 10 × 2,5 at the accounting price

        form.show();
        QTest::mouseClick(control<coop::DBGrid>(form, "DBGrid1")->viewport(), Qt::LeftButton, {},
                          control<coop::DBGrid>(form, "DBGrid1")->visualRect(control<coop::DBGrid>(form, "DBGrid1")->model()->index(1, 0)).center());
        QCOMPARE(column(control<coop::DBGrid>(form, "DBGrid2"), 0), QStringList({QStringLiteral("Сіль"), QStringLiteral("Олія")}));
        QCOMPARE(column(control<coop::DBGrid>(form, "DBGrid2"), 4), QStringList({QStringLiteral("4,8"), QStringLiteral("0")})); // a NULL quantity counts as 0

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
        QCOMPARE(column(control<coop::DBGrid>(form, "DBGrid2"), 0), QStringList({QStringLiteral("Цукор"), QStringLiteral("Сіль"), QStringLiteral("Олія")})); // every shop's stock together
    }

    // --- the movements of a goods ---------------------------------------------------------------

    // Goods 1 (Цукор): 30 at the start, +5 by receipt 99 (its header deleted since), +10 by receipt
    // 12, -5 by distribution 8 to shop 10 (Колосок), which got 10; shop 11 got some too.
    void setUpMovements()
    {
        m_db->exec(QStringLiteral(
            "INSERT INTO nadhodgennya VALUES (12, 1, 1, '2011-05-12');"
            "INSERT INTO rozpodil VALUES (8, 10, 1, '2011-05-23');"
            "INSERT INTO ruhtovariv (Moment, Korystuvach, VydDokumenta, IdDokumenta, IdTovary, IdMagazuny, Kilkist, Zalyshok, Komanda) VALUES"
            " ('2026-01-05 09:00:00', 'root', 'залишок на початок', NULL, 1, NULL, 30, 30, 'k0'),"
            " ('2026-01-06 10:15:30.25', 'ivan', 'надходження', 99, 1, NULL, 5, 35, 'k1'),"
            " ('2026-01-06 11:00:00', 'ivan', 'надходження', 12, 1, NULL, 10, 45, 'k2'),"
            " ('2026-01-07 11:00:00', 'olena', 'розподіл', 8, 1, NULL, -5, 40, 'k3'),"
            " ('2026-01-07 11:00:00', 'olena', 'розподіл', 8, 1, 10, 10, 10, 'k3'),"
            " ('2026-01-08 12:00:00', 'olena', 'розподіл', 9, 1, 11, 4, 4, 'k4')"));
    }
    // Press, release, then the second press that the window system reports as a double click.
    static void doubleClick(DBGrid *grid, int row)
    {
        const QPoint at = grid->visualRect(grid->model()->index(row, 1)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
    }
    static QStringList gridRows(DBGrid *grid)
    {
        QStringList rows;
        for (int row = 0; row < grid->model()->rowCount(); ++row) {
            QStringList cells;
            for (int c = 0; c < grid->model()->columnCount(); ++c)
                cells << grid->model()->index(row, c).data().toString();
            rows << cells.join(u'|');
        }
        return rows;
    }

    void baseMovementsShown()
    {
        setUpMovements();
        QDialog *shown = nullptr;
        const ShowModalFunction previous = setShowModalFunction([&shown](QDialog &dialog) {
            shown = &dialog;
            dialog.show();
            return int(mrNone);
        });
        TForm12 form(*m_connection);
        form.create();
        form.show();
        // A double click on the row of Цукор.
        doubleClick(control<DBGrid>(form, "DBGrid1"), 0);
        TMovementHistory *history = form.History;
        QCOMPARE(shown, history);
        QCOMPARE(history->windowTitle(), QStringLiteral("Рух товару"));
        QCOMPARE(control<QLabel>(*history, "Label1")->text(), QStringLiteral("Цукор, склад"));
        QCOMPARE(titles(control<DBGrid>(*history, "DBGrid1")), QStringList({QStringLiteral("Дата і час"), QStringLiteral("Документ"), QStringLiteral("Зміна"), QStringLiteral("Залишок"), QStringLiteral("Користувач")}));
        QCOMPARE(gridRows(control<DBGrid>(*history, "DBGrid1")), QStringList({QStringLiteral("05.01.2026 09:00:00|Залишок на початок|+30|30|root"),
                                                          QStringLiteral("06.01.2026 10:15:30|Надходження № 99|+5|35|ivan"),
                                                          QStringLiteral("06.01.2026 11:00:00|Надходження № 12 від 12.05.2011|+10|45|ivan"),
                                                          QStringLiteral("07.01.2026 11:00:00|Розподіл № 8 від 23.05.2011|-5|40|olena")}));
        QCOMPARE(control<QLabel>(*history, "Label2")->text(), QStringLiteral("Залишок зараз: 40"));
        // Read-only, of fixed size, centred, and Esc closes it.
        const QModelIndex cell = control<DBGrid>(*history, "DBGrid1")->model()->index(0, 2);
        QVERIFY(!(control<DBGrid>(*history, "DBGrid1")->model()->flags(cell) & Qt::ItemIsEditable));
        QCOMPARE(history->minimumSize(), QSize(713, 441));
        QCOMPARE(history->maximumSize(), QSize(713, 441));
        const QPoint centre = history->screen()->availableGeometry().center();
        QVERIFY(qAbs(history->geometry().center().x() - centre.x()) <= 3); // the window frame aside
        QVERIFY(qAbs(history->geometry().center().y() - centre.y()) <= 3);
        QTest::keyClick(history, Qt::Key_Escape);
        QVERIFY(!history->isVisible());

        // Enter on the row of Сіль: it never moved, its row says so at the foot.
        shown = nullptr;
        form.Query1->setRecNo(1);
        control<DBGrid>(form, "DBGrid1")->setFocus();
        QTest::keyClick(control<DBGrid>(form, "DBGrid1"), Qt::Key_Return);
        QCOMPARE(shown, history);
        QCOMPARE(control<QLabel>(*history, "Label1")->text(), QStringLiteral("Сіль, склад"));
        QCOMPARE(control<DBGrid>(*history, "DBGrid1")->model()->rowCount(), 0);
        QCOMPARE(control<QLabel>(*history, "Label2")->text(), QStringLiteral("Залишок зараз: 0"));
        setShowModalFunction(previous);
    }

    void shopMovementsShown()
    {
        setUpMovements();
        QDialog *shown = nullptr;
        const ShowModalFunction previous = setShowModalFunction([&shown](QDialog &dialog) {
            shown = &dialog;
            dialog.show();
            return int(mrNone);
        });
        TForm13 form(*m_connection);
        form.create();
        form.show();
        control<DBGrid>(form, "DBGrid2")->setFocus();
        QTest::keyClick(control<DBGrid>(form, "DBGrid2"), Qt::Key_Enter);
        QCOMPARE(shown, form.History);
        QCOMPARE(control<QLabel>(*form.History, "Label1")->text(), QStringLiteral("Цукор, магазин «Колосок»"));
        QCOMPARE(gridRows(control<DBGrid>(*form.History, "DBGrid1")), QStringList({QStringLiteral("07.01.2026 11:00:00|Розподіл № 8 від 23.05.2011|+10|10|olena")}));
        QCOMPARE(control<QLabel>(*form.History, "Label2")->text(), QStringLiteral("Залишок зараз: 10"));
        setShowModalFunction(previous);
    }

    void noJournalNoHistory()
    {
        m_db->exec(QStringLiteral("DROP TABLE ruhtovariv"));
        QDialog *shown = nullptr;
        const ShowModalFunction previous = setShowModalFunction([&shown](QDialog &dialog) {
            shown = &dialog;
            return int(mrNone);
        });
        MessageRecorder messages;
        TForm12 form(*m_connection);
        form.create();
        form.show();
        doubleClick(control<DBGrid>(form, "DBGrid1"), 0);
        QCOMPARE(shown, nullptr);
        QVERIFY(messages.requests.isEmpty()); // and says nothing
        setShowModalFunction(previous);
    }
};

COOP_GUI_TEST_MAIN(TestStockScreens)
#include "test_stockscreens.moc"
