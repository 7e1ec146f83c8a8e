// The shops screen driven through its controls: the joined grid, the manager combo box and its id
// list, the statements, the four usage checks, conditions that pile up until "Відобразити все", and
// the activation that the other screens have too.
#include "data/databaseerror.h"
#include "reference/form9.h"
#include "screenfixture.h"
#include "widgets/idcombobox.h"

#include <QRegularExpression>

using namespace coop;

namespace {
const QString Select = QStringLiteral("Select magazunu.id, magazunu.NazvaMagazuny, magazunu.AdresaMagazuny, spivrobitnuku.PIB, "
                                      "magazunu.IdSpivrobitnuka\nFrom magazunu, spivrobitnuku\n");
const QString Grid = Select + QStringLiteral("Where magazunu.IdSpivrobitnuka = spivrobitnuku.id");
const QString Employees = QStringLiteral("SELECT* FROM spivrobitnuku");
} // namespace

class TestShops : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScreenFixture> f;
    std::unique_ptr<TForm9> screen;

    QAbstractButton *button(const char *name) { return screen->findChild<QAbstractButton *>(QLatin1String(name)); }
    QLineEdit *edit(const char *name) { return screen->findChild<QLineEdit *>(QLatin1String(name)); }
    IdComboBox *manager() { return screen->findChild<IdComboBox *>(QStringLiteral("ComboBox1")); }
    DBGrid *grid() { return screen->findChild<DBGrid *>(QStringLiteral("DBGrid1")); }
    QStringList shopNames()
    {
        QStringList names;
        for (int row = 0; row < screen->Query1->recordCount(); ++row)
            names.append(screen->Query1->displayText(row, screen->Query1->field(1)));
        return names;
    }

private slots:
    void init()
    {
        f = std::make_unique<ScreenFixture>();
        f->db.exec(QStringLiteral("INSERT INTO spivrobitnuku (Id, PIB) VALUES (9, 'Гончаренко Лідія Петрівна'), (12, 'Савчук Марія Іванівна'),"
                                  "(14, 'О''Коннор Олена Степанівна');"
                                  "INSERT INTO magazunu VALUES (1, 'Центральний', 'вул. Центральна, 10', 9), (2, 'Продукти', 'вул. Шевченка, 45', 12),"
                                  "(3, 'Господар', 'вул. Садова, 3', 14), (4, 'Без завідуючого', 'вул. Польова, 1', 99)"));
        screen = std::make_unique<TForm9>(f->connection);
        f->open(*screen);
    }
    void cleanup()
    {
        screen.reset();
        f.reset();
    }

    void opensBrowsing()
    {
        QCOMPARE(shopNames(), QStringList({QStringLiteral("Центральний"), QStringLiteral("Продукти"), QStringLiteral("Господар")}));
        QCOMPARE(grid()->model()->columnCount(), 4); // the manager's id is hidden
        for (const char *name : {"Edit1", "Edit2", "ComboBox1", "Label3", "BitBtn4", "BitBtn5"})
            QVERIFY2(!screen->findChild<QWidget *>(QLatin1String(name))->isEnabled(), name);
        for (const char *name : {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn6", "BitBtn7", "BitBtn8", "BitBtn9", "BitBtn10"})
            QVERIFY2(button(name)->isEnabled(), name);
    }

    void addNeedsAManager()
    {
        f->click(button("BitBtn1"));
        QCOMPARE(f->statements(), QStringList(Employees));
        QCOMPARE(manager()->count(), 3);
        QCOMPARE(manager()->idList(), QStringList({QStringLiteral("9"), QStringLiteral("12"), QStringLiteral("14")}));
        QCOMPARE(manager()->currentIndex(), -1);
        edit("Edit1")->setText(QStringLiteral("Колосок"));
        edit("Edit2")->setText(QStringLiteral("вул. Миру, 17"));

        f->clearLog();
        f->click(button("BitBtn4"));
        QCOMPARE(f->messageTexts(), QStringList(QStringLiteral("Помилка|Введіть коректні дані")));
        QCOMPARE(f->statements(), QStringList());

        manager()->setCurrentIndex(2);
        f->click(button("BitBtn4"));
        QCOMPARE(f->statements(), QStringList({QStringLiteral("INSERT INTO magazunu (Nazvamagazuny,AdresaMagazuny,IdSpivrobitnuka) "
                                                              "values ('Колосок','вул. Миру, 17','14')"),
                                               Grid}));
        QCOMPARE(manager()->currentIndex(), -1);
        QVERIFY(!manager()->isEnabled());
    }

    void editPreselectsTheManager()
    {
        f->selectCell(grid(), 1, 1);
        f->click(button("BitBtn2"));
        QCOMPARE(manager()->currentText(), QStringLiteral("Савчук Марія Іванівна"));
        QCOMPARE(edit("Edit2")->text(), QStringLiteral("вул. Шевченка, 45"));
        manager()->setCurrentIndex(0);
        f->clearLog();
        f->click(button("BitBtn4"));
        QCOMPARE(f->statements(), QStringList({QStringLiteral("UPDATE magazunu Set Nazvamagazuny='Продукти', AdresaMagazuny='вул. Шевченка, 45', "
                                                              "IdSpivrobitnuka=9 WHERE magazunu.Id=2"),
                                               Grid}));
    }

    void usageChecks_data()
    {
        QTest::addColumn<QString>("reference");
        QTest::addColumn<bool>("refused");
        QTest::newRow("stock") << QStringLiteral("INSERT INTO nayavnistvmagazuni VALUES (NULL, 2, 1, 3, 7, 8.75)") << true;
        QTest::newRow("audit line") << QStringLiteral("INSERT INTO reveziyamagazuny VALUES (NULL, 2, 1, 3, 8.75, '2011-05-13')") << true;
        QTest::newRow("distribution") << QStringLiteral("INSERT INTO rozpodil VALUES (NULL, 2, 9, '2011-05-13')") << true;
        QTest::newRow("revenue") << QStringLiteral("INSERT INTO vurychka VALUES (NULL, 2, 9, 1200, '2011-05-13')") << true;
        QTest::newRow("only its employees") << QStringLiteral("UPDATE spivrobitnuku SET IdMagazuny='2'") << false;
    }
    void usageChecks()
    {
        QFETCH(QString, reference);
        QFETCH(bool, refused);
        f->db.exec(reference);
        f->messageAnswers = {mrYes};
        f->selectCell(grid(), 1, 0);
        f->click(button("BitBtn3"));
        QStringList expected = {
            QStringLiteral("SELECT COUNT(*) From nayavnistvmagazuni where nayavnistvmagazuni.IdMagazuny=2;"),
            QStringLiteral("SELECT COUNT(*) From reveziyamagazuny where reveziyamagazuny.IdMagazuny=2;"),
            QStringLiteral("SELECT COUNT(*) From rozpodil where rozpodil.IdMagazuny=2;"),
            QStringLiteral("SELECT COUNT(*) From vurychka where vurychka.IdMagazuny=2;"),
        };
        if (!refused)
            expected << QStringLiteral("DELETE FROM magazunu WHERE magazunu.Id=2;") << Grid;
        QCOMPARE(f->statements(), expected);
        QCOMPARE(f->messageTexts(), QStringList(refused ? QStringLiteral("Помилка!|Неможливо видалити, запис зустрічається в інших таблицях!")
                                                        : QStringLiteral("Увага!!!|Ви дійсно хочете видалити запис?")));
        QCOMPARE(screen->Query1->recNo(), refused ? 1 : 0); // no reload after a refusal
    }

    void conditionsPileUpUntilShowAll()
    {
        f->selectCell(grid(), 0, 3);
        f->typeIntoDialog(QStringLiteral("О'Коннор"));
        f->click(button("BitBtn7"));
        QCOMPARE(shopNames(), QStringList(QStringLiteral("Господар")));
        f->clearLog();
        f->selectCell(grid(), 0, 1);
        f->typeIntoDialog(QStringLiteral("Центральний"));
        f->click(button("BitBtn6"));
        QCOMPARE(f->statements(), QStringList(Grid + QStringLiteral(" AND PIB LIKE '%О''Коннор%' AND NazvaMagazuny='Центральний'")));
        QCOMPARE(shopNames(), QStringList());

        f->clearLog();
        f->click(button("BitBtn8"));
        QCOMPARE(f->statements(), QStringList(Select + QStringLiteral("WHERE magazunu.IdSpivrobitnuka = spivrobitnuku.Id")));
        QCOMPARE(shopNames().size(), 3);
    }

    // "id" is a column of both tables: the search and the filter name the shops' own.
    void searchAndFilterOnTheCodeColumn_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("condition");
        QTest::newRow("search") << "BitBtn6" << "2" << " AND magazunu.id='2'";
        QTest::newRow("filter") << "BitBtn7" << "3" << " AND magazunu.id LIKE '%3%'";
    }
    void searchAndFilterOnTheCodeColumn()
    {
        QFETCH(QString, button);
        QFETCH(QString, typed);
        QFETCH(QString, condition);
        f->selectCell(grid(), 0, 0);
        f->typeIntoDialog(typed);
        f->click(this->button(qPrintable(button)));
        QCOMPARE(f->messages.size(), 0);
        QCOMPARE(f->statements(), QStringList(Grid + condition));
        QCOMPARE(shopNames(), QStringList(typed == QStringLiteral("2") ? QStringLiteral("Продукти") : QStringLiteral("Господар")));
    }

    // The clerk's sequence that used to write a shop twice: a search by "Код", then a new shop.
    void aShopAddedAfterACodeSearchIsWrittenOnce()
    {
        f->selectCell(grid(), 0, 0);
        f->typeIntoDialog(QStringLiteral("2"));
        f->click(button("BitBtn6"));
        f->click(button("BitBtn1"));
        edit("Edit1")->setText(QStringLiteral("Колосок"));
        edit("Edit2")->setText(QStringLiteral("вул. Миру, 17"));
        manager()->setCurrentIndex(0);
        f->clearLog();
        f->click(button("BitBtn4"));
        QCOMPARE(f->messages.size(), 0);
        QVERIFY(!button("BitBtn4")->isEnabled());
        f->click(button("BitBtn4"));
        QCOMPARE(f->db.value(QStringLiteral("SELECT COUNT(*) FROM magazunu WHERE NazvaMagazuny='Колосок'")), QStringLiteral("1"));
    }

    // Once the server has taken the row, a reload that fails shows its error and the panel is closed
    // all the same: a second "Прийняти" cannot write the row again.
    void aFailedReloadClosesThePanel_data()
    {
        QTest::addColumn<bool>("adding");
        QTest::newRow("insert") << true;
        QTest::newRow("update") << false;
    }
    void aFailedReloadClosesThePanel()
    {
        QFETCH(bool, adding);
        if (adding) {
            f->click(button("BitBtn1"));
        } else {
            f->selectCell(grid(), 1, 1);
            f->click(button("BitBtn2"));
        }
        edit("Edit1")->setText(QStringLiteral("Колосок"));
        edit("Edit2")->setText(QStringLiteral("вул. Миру, 17"));
        manager()->setCurrentIndex(0);
        f->connection.setStatementObserver([](const QString &statement) {
            if (statement.startsWith(QLatin1String("Select magazunu.id")))
                throw DatabaseError(QStringLiteral("Lost connection to server during query"), 2013);
        });
        f->clearLog();
        f->click(button("BitBtn4"));
        f->connection.setStatementObserver({});
        QCOMPARE(f->messages.size(), 1);
        QCOMPARE(f->messages[0].kind, MessageKind::ErrorBox);
        QVERIFY(!button("BitBtn4")->isEnabled());
        QVERIFY(!edit("Edit1")->isEnabled());
        QCOMPARE(edit("Edit1")->text(), QString());
        QVERIFY(button("BitBtn1")->isEnabled());
        f->click(button("BitBtn4"));
        QCOMPARE(f->statements().filter(QRegularExpression(QStringLiteral("^(INSERT|UPDATE)"))).size(), 1);
        QCOMPARE(f->db.value(QStringLiteral("SELECT COUNT(*) FROM magazunu WHERE NazvaMagazuny='Колосок'")), QStringLiteral("1"));
    }
};

COOP_SCREEN_TEST_MAIN(TestShops)
#include "test_shops.moc"
