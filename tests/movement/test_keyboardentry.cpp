// A clerk enters documents from paper with both hands on the keyboard: a receipt with its header
// and two lines, then a distribution with one line, by Tab, Space, letters and digits alone. The
// statements sent and the rows written are those of the same entry made with the mouse.
#include "data/database.h"
#include "data/query.h"
#include "movement/form11.h"
#include "movement/form7.h"
#include "stock/form12.h"
#include "stock/form13.h"
#include "support/guitestmain.h"
#include "support/keyboard.h"
#include "support/messagerecorder.h"
#include "support/screendriving.h"
#include "support/testdatabase.h"

using namespace coop;

class TestKeyboardEntry : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Database> m_connection;
    std::unique_ptr<TForm12> m_stock;
    std::unique_ptr<TForm13> m_shopStock;

    // The screen created as the program creates it, shown and made the active window.
    template <class Screen> std::unique_ptr<Screen> open()
    {
        auto screen = std::make_unique<Screen>(*m_connection);
        screen->create();
        if constexpr (std::is_same_v<Screen, TForm11>)
            screen->reach(*m_stock, *m_shopStock, nullptr);
        else
            screen->reach(*m_stock, nullptr);
        screen->show();
        QApplication::setActiveWindow(screen.get());
        if (!QTest::qWaitForWindowActive(screen.get()))
            qFatal("the screen did not become the active window");
        m_connection->setStatementLogging(true);
        return screen;
    }
    // A header's panel, from the header grid: Tab to "Додати", Space, the party and the employee by
    // their first letters, the date by its digits, Tab to "Прийняти", Space.
    static void enterHeader(const QString &party, const QString &employee, const QString &date)
    {
        QCOMPARE(focusName(), QStringLiteral("DBGrid1"));
        pressTab();
        QCOMPARE(focusName(), QStringLiteral("BitBtn1"));
        pressSpace();
        QCOMPARE(focusName(), QStringLiteral("ComboBox1"));
        typeKeys(party);
        pressTab();
        typeKeys(employee);
        pressTab();
        QCOMPARE(focusName(), QStringLiteral("DateTimePicker1"));
        typeKeys(date);
        pressTab();
        QCOMPARE(focusName(), QStringLiteral("BitBtn4"));
        pressSpace();
        QCOMPARE(focusName(), QStringLiteral("DBGrid1")); // a write puts the focus into the grid
    }
    // A line's panel, from wherever the focus stands `tabs` presses before the lines' "Додати".
    static void enterLine(int tabs, const QString &goods, const QString &quantity, const QString &price)
    {
        pressTab(tabs);
        QCOMPARE(focusName(), QStringLiteral("BitBtn6"));
        pressSpace();
        QCOMPARE(focusName(), QStringLiteral("ComboBox3"));
        typeKeys(goods);
        pressTab();
        QCOMPARE(focusName(), QStringLiteral("Edit1"));
        typeKeys(quantity);
        pressTab();
        typeKeys(price);
        pressTab();
        QCOMPARE(focusName(), QStringLiteral("BitBtn9"));
        pressSpace();
        QCOMPARE(focusName(), QStringLiteral("DBGrid2"));
    }

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_db->exec(QStringLiteral(
            "INSERT INTO postachalnuku (Id, NazvaPostachalnuka) VALUES (1, 'Зоря'), (3, 'Хлібзавод');"
            "INSERT INTO spivrobitnuku (Id, PIB) VALUES (2, 'Іваненко'), (7, 'Петренко');"
            "INSERT INTO magazunu (Id, NazvaMagazuny, AdresaMagazuny, IdSpivrobitnuka) VALUES"
            " (1, 'Колос', 'Миролюбівка', 2), (2, 'Ромашка', 'Центральна, 3', 7);"
            "INSERT INTO tovary (Id, NazvaTovary) VALUES (4, 'Сіль'), (5, 'Цукор'), (6, 'Олія'), (8, 'Сир');"
            "INSERT INTO nadhodgennya VALUES (10, 1, 2, '2011-05-10')"));
        m_connection = std::make_unique<Database>();
        m_stock = std::make_unique<TForm12>(*m_connection);
        m_shopStock = std::make_unique<TForm13>(*m_connection);
        m_stock->create();
        m_shopStock->create();
    }
    void cleanup()
    {
        m_shopStock.reset();
        m_stock.reset();
        m_connection.reset();
        m_db.reset();
    }

    void receiptWithTwoLines()
    {
        MessageRecorder messages;
        auto form = open<TForm7>();
        QCOMPARE(focusName(), QStringLiteral("DBGrid1")); // the first control of the window

        enterHeader(QStringLiteral("Хл"), QStringLiteral("пе"), QStringLiteral("23052011"));
        QCOMPARE(takeWrites(*m_connection),
                 QStringList{QStringLiteral("INSERT INTO nadhodgennya (IdPostachalnuka, IdSpivrobitnuka, DataNadhodgenya) values ('3','7','2011-05-23')")});
        const QString header = m_db->value(QStringLiteral("SELECT id FROM nadhodgennya WHERE id <> 10"));
        // The first receipt is current after the write; the new one is the last of the grid.
        QCOMPARE(form->Query1->fieldByName(QStringLiteral("id"))->asString(), QStringLiteral("10"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(form->Query1->fieldByName(QStringLiteral("id"))->asString(), header);

        // From the header grid to the lines' "Додати": the header's buttons, the date filter, the lines grid.
        enterLine(8, QStringLiteral("Цу"), QStringLiteral("10"), QStringLiteral("12,5"));
        enterLine(1, QStringLiteral("Сі"), QStringLiteral("3"), QStringLiteral("2,55"));
        QCOMPARE(takeWrites(*m_connection),
                 (QStringList{QStringLiteral("INSERT INTO chonadishlo (IdTovary,kilkist,Cina,IdNadhodgennya) values ('5','10','12.5',") + header + u')',
                              QStringLiteral("INSERT INTO chonadishlo (IdTovary,kilkist,Cina,IdNadhodgennya) values ('4','3','2.55',") + header + u')'}));

        QCOMPARE(m_db->rows(QStringLiteral("SELECT IdPostachalnuka, IdSpivrobitnuka, DataNadhodgenya FROM nadhodgennya ORDER BY Id")),
                 (QStringList{QStringLiteral("1|2|2011-05-10"), QStringLiteral("3|7|2011-05-23")}));
        QCOMPARE(m_db->rows(QStringLiteral("SELECT IdTovary, Kilkist, Cina, IdNadhodgennya FROM chonadishlo ORDER BY Id")),
                 (QStringList{QStringLiteral("5|10|12.5|") + header, QStringLiteral("4|3|2.55|") + header}));
        QCOMPARE(form->Query3->recordCount(), 2); // both lines in the grid
        QVERIFY(messages.requests.isEmpty());
    }

    void distributionWithOneLine()
    {
        MessageRecorder messages;
        auto form = open<TForm11>();
        QCOMPARE(focusName(), QStringLiteral("DBGrid1"));

        enterHeader(QStringLiteral("Ро"), QStringLiteral("Ів"), QStringLiteral("24.05.2011"));
        QCOMPARE(takeWrites(*m_connection),
                 QStringList{QStringLiteral("INSERT INTO rozpodil (IdMagazuny, IdSpivrobitnuka, DataRozpodily) values ('2','2','2011-05-24')")});
        const QString header = m_db->value(QStringLiteral("SELECT id FROM rozpodil"));

        // The distribution's filter has one picker: a Tab fewer than on the receipts.
        enterLine(7, QStringLiteral("Ол"), QStringLiteral("4"), QStringLiteral("12,5"));
        QCOMPARE(takeWrites(*m_connection),
                 QStringList{QStringLiteral("INSERT INTO pozuciirozpodily (IdTovary,kilkist,CinaPostachannya,IdRozpodily) values ('6','4','12.5',")
                             + header + u')'});
        QCOMPARE(m_db->rows(QStringLiteral("SELECT IdMagazuny, IdSpivrobitnuka, DataRozpodily FROM rozpodil")),
                 QStringList{QStringLiteral("2|2|2011-05-24")});
        QCOMPARE(m_db->rows(QStringLiteral("SELECT IdTovary, Kilkist, CinaPostachannya, IdRozpodily FROM pozuciirozpodily")),
                 QStringList{QStringLiteral("6|4|12.5|") + header});
        QVERIFY(messages.requests.isEmpty());
    }
};

COOP_GUI_TEST_MAIN(TestKeyboardEntry)
#include "test_keyboardentry.moc"
