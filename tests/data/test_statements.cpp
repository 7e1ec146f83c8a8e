// Statements shaped as the screens send them run on the server as the screens expect, and text
// goes in and comes back unchanged.
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/format.h"
#include "data/query.h"
#include "support/testdatabase.h"

#include <QTest>

using namespace coop;

class TestStatements : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Database> m_connection;
    std::unique_ptr<Query> m_runner;

    void run(const QStringList &lines)
    {
        m_runner->close();
        m_runner->sql().clear();
        for (const QString &line : lines)
            m_runner->sql().add(line);
        m_runner->execSql();
    }
    Query &select(const QStringList &lines)
    {
        m_runner->close();
        m_runner->sql().clear();
        for (const QString &line : lines)
            m_runner->sql().add(line);
        m_runner->open();
        return *m_runner;
    }

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_connection = std::make_unique<Database>();
        m_runner = std::make_unique<Query>(*m_connection);
        m_db->exec(QStringLiteral("INSERT INTO tovary (Id, NazvaTovary, MarkaTovary) VALUES (1, 'Цукор', 'Буряковий'), (2, 'Сіль', 'Кухонна');"
                                  "INSERT INTO magazunu (Id, NazvaMagazuny, AdresaMagazuny, IdSpivrobitnuka) VALUES (12, 'Колосок', 'вул. Миру', 1);"
                                  "INSERT INTO spivrobitnuku (Id, PIB, IdMagazuny) VALUES (1, 'Іваненко', '12')"));
    }
    void cleanup()
    {
        m_runner.reset();
        m_connection.reset();
        m_db.reset();
    }

    void postingShapes()
    {
        // Count, then insert or update, as posting a receipt line does.
        Query &count = select({QStringLiteral("select count(*) as cnt from `baza` where `IdTovary`=1")});
        QCOMPARE(count.fieldByName(QStringLiteral("CNT"))->asInteger(), 0);
        run({QStringLiteral("insert into `baza` values (NULL,1,") + QStringLiteral("40") + QStringLiteral(");")});
        run({QStringLiteral("update `baza` set `KilkistNaBazi`=`KilkistNaBazi`+10 where `IdTovary`=1")});
        QCOMPARE(m_db->rows(QStringLiteral("select Id, IdTovary, KilkistNaBazi from baza")), QStringList({QStringLiteral("1|1|50")}));

        // Into the shop at the markup written into the statement.
        run({QStringLiteral("insert into `nayavnistvmagazuni` values (NULL,12,1,5,'12.5',1.25*'12.5');")});
        QCOMPARE(m_db->rows(QStringLiteral("select IdMagazuny, IdTovary, Kilkist, CinaOblikova, CinaRozdribna from nayavnistvmagazuni")),
                 QStringList({QStringLiteral("12|1|5|12.5|15.625")}));
        run({QStringLiteral("update nayavnistvmagazuni set kilkist=kilkist+5, CinaOblikova='8.75', Cinarozdribna=1.25*'8.75'"),
             QStringLiteral("where IdMagazuny=12 and Idtovary=1")});
        QCOMPARE(m_db->value(QStringLiteral("select concat(Kilkist, '|', CinaRozdribna) from nayavnistvmagazuni")), QStringLiteral("10|10.9375"));
    }

    void mixedCaseNames()
    {
        Query &q = select({QStringLiteral("Select Tovary.Id, tovary.NazvaTovary, Magazunu.NazvaMagazuny, Spivrobitnuku.PIB"),
                           QStringLiteral("From tovary, magazunu, spivrobitnuku"),
                           QStringLiteral("Where spivrobitnuku.IdMagazuny=magazunu.id and Tovary.id=1")});
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.fieldByName(QStringLiteral("nazvamagazuny"))->asString(), QStringLiteral("Колосок"));
        QCOMPARE(q.fieldByName(QStringLiteral("PIB"))->asString(), QStringLiteral("Іваненко"));
    }

    void shopTextJoinsByValue()
    {
        // "12" in the text column finds the shop whose key is 12, and only that one.
        m_db->exec(QStringLiteral("INSERT INTO magazunu (Id, NazvaMagazuny) VALUES (1, 'Інший'), (120, 'Ще інший')"));
        Query &q = select({QStringLiteral("select NazvaMagazuny from spivrobitnuku, magazunu where spivrobitnuku.IdMagazuny=magazunu.id")});
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.fieldByName(QStringLiteral("NazvaMagazuny"))->asString(), QStringLiteral("Колосок"));
    }

    void textRoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("apostrophe") << "О'Брайен";
        QTest::newRow("backslash") << "C:\\temp\\n";
        QTest::newRow("backslash before quote") << "a\\'b";
        QTest::newRow("Cyrillic") << "Їжак ґанок Є";
        QTest::newRow("emoji") << "Хліб 🍞";
        QTest::newRow("percent and underscore") << "100% _x_";
    }
    void textRoundTrip()
    {
        QFETCH(QString, text);
        run({QStringLiteral("Insert into tovary (NazvaTovary, MarkaTovary) values (") + QuoteSqlText(text) + u',' + QuoteSqlText(text) + u')'});
        Query &q = select({QStringLiteral("Select * From tovary Where NazvaTovary=") + QuoteSqlText(text)});
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.fieldByName(QStringLiteral("MarkaTovary"))->asString(), text);
    }

    void serverRefusals_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("fragment");
        QTest::newRow("over-long text") << QStringLiteral("Insert into tovary (NazvaTovary) values ('%1')").arg(QString(41, u'я'))
                                        << "Data too long for column 'NazvaTovary'";
        QTest::newRow("not a number") << QStringLiteral("Insert into chonadishlo (Kilkist) values ('abc')") << "Incorrect double value";
        QTest::newRow("bare ambiguous Id") << QStringLiteral("select Id from tovary, baza") << "ambiguous";
        QTest::newRow("unknown table") << QStringLiteral("select * from tovar") << "doesn't exist";
    }
    void serverRefusals()
    {
        QFETCH(QString, statement);
        QFETCH(QString, fragment);
        try {
            if (statement.startsWith(u"select"))
                select({statement});
            else
                run({statement});
            QFAIL("the server accepted it");
        } catch (const DatabaseError &error) {
            QVERIFY2(error.text().contains(fragment), qPrintable(error.text()));
            QCOMPARE(error.statement(), statement);
        }
        QCOMPARE(m_db->value(QStringLiteral("select count(*) from tovary")), QStringLiteral("2"));
        QCOMPARE(m_db->value(QStringLiteral("select count(*) from chonadishlo")), QStringLiteral("0"));
    }

    void uniqueStockRows()
    {
        run({QStringLiteral("insert into `baza` values (NULL,2,5);")});
        QVERIFY_THROWS_EXCEPTION(DatabaseError, run({QStringLiteral("insert into `baza` values (NULL,2,7);")}));
        run({QStringLiteral("insert into `nayavnistvmagazuni` values (NULL,12,2,1,'1','1.25');")});
        QVERIFY_THROWS_EXCEPTION(DatabaseError, run({QStringLiteral("insert into `nayavnistvmagazuni` values (NULL,12,2,1,'1','1.25');")}));
        QCOMPARE(m_db->value(QStringLiteral("select count(*) from baza")), QStringLiteral("1"));
    }

    void headerDeleteLeavesLines()
    {
        m_db->exec(QStringLiteral("INSERT INTO nadhodgennya (Id, IdPostachalnuka, IdSpivrobitnuka, DataNadhodgenya) VALUES (1, 1, 1, '2011-05-12');"
                                  "INSERT INTO chonadishlo (IdTovary, IdNadhodgennya, Kilkist, Cina) VALUES (1, 1, 3, 2.5)"));
        run({QStringLiteral("DELETE FROM nadhodgennya WHERE nadhodgennya.Id=1")});
        QCOMPARE(m_db->value(QStringLiteral("select count(*) from chonadishlo where IdNadhodgennya=1")), QStringLiteral("1"));
    }
};

QTEST_GUILESS_MAIN(TestStatements)
#include "test_statements.moc"
