// The query object against the real server: fields and their texts, navigation and AfterScroll,
// calculated fields, the client-side filter over dates, numbers and texts, locate.
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/format.h"
#include "data/query.h"
#include "support/testdatabase.h"

#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>

using namespace coop;

class TestQuery : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Database> m_connection;

    std::unique_ptr<Query> employees()
    {
        auto q = std::make_unique<Query>(*m_connection);
        q->sql().add(QStringLiteral("Select Id, PIB, DataVlash, Oklad, IdMagazuny from spivrobitnuku"));
        q->addField({QStringLiteral("Id"), FieldType::Integer, 0, QStringLiteral("Код"), 6});
        q->addField({QStringLiteral("PIB"), FieldType::String, 40, QStringLiteral("ПІБ")});
        q->addField({QStringLiteral("DataVlash"), FieldType::Date, 0, QStringLiteral("Дата влаштування")});
        q->addField({QStringLiteral("Oklad"), FieldType::Float, 0, QStringLiteral("Оклад")});
        q->addField({QStringLiteral("IdMagazuny"), FieldType::String, 11, QString(), 0, false});
        return q;
    }

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_db->exec(QStringLiteral(
            "INSERT INTO spivrobitnuku (Id, PIB, DataVlash, Oklad, IdMagazuny) VALUES "
            "(1, 'Іваненко Іван', '2011-05-12', 1850.5, '1'),"
            "(2, 'О''Брайен', '2011-05-13', 2000, '2'),"
            "(3, 'Петренко Петро', '2011-05-14', 1200.75, '1'),"
            "(4, 'Сидоренко', '2010-01-01', NULL, NULL)"));
        m_connection = std::make_unique<Database>();
    }
    void cleanup()
    {
        m_connection.reset();
        m_db.reset();
    }

    void fieldTexts()
    {
        auto q = employees();
        q->open();
        QCOMPARE(q->recordCount(), 4);
        QCOMPARE(q->fieldByName(QStringLiteral("pib"))->asString(), QStringLiteral("Іваненко Іван"));
        QCOMPARE(q->fieldByName(QStringLiteral("DATAVLASH"))->asString(), QStringLiteral("12.05.2011"));
        QCOMPARE(q->fieldByName(QStringLiteral("DataVlash"))->asDate(), QDate(2011, 5, 12));
        QCOMPARE(q->fieldByName(QStringLiteral("Oklad"))->asString(), QStringLiteral("1850,5"));
        QCOMPARE(q->fieldByName(QStringLiteral("Id"))->asInteger(), 1);
        q->last();
        QVERIFY(q->fieldByName(QStringLiteral("Oklad"))->isNull());
        QCOMPARE(q->fieldByName(QStringLiteral("Oklad"))->asString(), QString());
        QCOMPARE(q->fieldByName(QStringLiteral("Oklad"))->asFloat(), 0.0);
        QCOMPARE(q->fieldByName(QStringLiteral("IdMagazuny"))->asString(), QString());
        // A grid reads any row without moving the current one.
        QSignalSpy scrolls(q.get(), &Query::afterScroll);
        QCOMPARE(q->displayText(1, q->fieldByName(QStringLiteral("PIB"))), QStringLiteral("О'Брайен"));
        QCOMPARE(q->recNo(), 3);
        QCOMPARE(scrolls.count(), 0);
    }

    void numbersReadTheSameUnderACommaLocale()
    {
        // A Ukrainian desktop sets "," as the C library's decimal mark; the server still writes ".".
        QTemporaryDir locales;
        QProcess make;
        make.start(QStringLiteral("localedef"), {QStringLiteral("-i"), QStringLiteral("uk_UA"), QStringLiteral("-f"),
                                                  QStringLiteral("UTF-8"), locales.filePath(QStringLiteral("uk_UA.UTF-8"))});
        if (!make.waitForFinished(60000) || !QFile::exists(locales.filePath(QStringLiteral("uk_UA.UTF-8"))))
            QSKIP("localedef (Debian package locales) could not build uk_UA.UTF-8");
        qputenv("LOCPATH", QFile::encodeName(locales.path()));
        QVERIFY(std::setlocale(LC_ALL, "uk_UA.UTF-8"));
        const auto restore = qScopeGuard([] {
            std::setlocale(LC_ALL, "C.UTF-8");
            qunsetenv("LOCPATH");
        });

        auto q = employees();
        q->open();
        QCOMPARE(q->fieldByName(QStringLiteral("Oklad"))->asFloat(), 1850.5);
        QCOMPARE(q->fieldByName(QStringLiteral("Oklad"))->asString(), QStringLiteral("1850,5"));
        QCOMPARE(ReadTypedNumber(QStringLiteral("12,5")), 12.5);
        QCOMPARE(FormatSqlNumber(12.5), QStringLiteral("12.5"));
        QVERIFY(q->locate(QStringLiteral("Oklad"), 1200.75));
        q->setFilter(QStringLiteral("Oklad>'1850,4' and Oklad<'1850,6'"));
        q->setFiltered(true);
        QCOMPARE(q->recordCount(), 1);
    }

    void missingFields()
    {
        auto q = employees();
        q->open();
        try {
            q->fieldByName(QStringLiteral("Telefon"));
            QFAIL("found");
        } catch (const Error &error) {
            QCOMPARE(error.text(), QStringLiteral("Field 'Telefon' not found"));
        }
        // A declared field that the result lacks fails the open.
        Query other(*m_connection);
        other.sql().add(QStringLiteral("select Id from spivrobitnuku"));
        other.addField({QStringLiteral("PIB"), FieldType::String, 40});
        QVERIFY_THROWS_EXCEPTION(Error, other.open());
        QVERIFY(!other.active());
    }

    void repeatedColumnsGetSuffix()
    {
        Query q(*m_connection);
        q.sql().add(QStringLiteral("select s.Id, s.PIB, m.id, m.Id from spivrobitnuku s, spivrobitnuku m where s.Id = 1 and m.Id = 2"));
        q.open();
        QCOMPARE(q.fieldCount(), 4);
        QCOMPARE(q.field(2)->fieldName(), QStringLiteral("id_1"));
        QCOMPARE(q.field(3)->fieldName(), QStringLiteral("Id_2"));
        QCOMPARE(q.fieldByName(QStringLiteral("ID_1"))->asInteger(), 2);
        QCOMPARE(q.fieldByName(QStringLiteral("Id"))->asInteger(), 1);
    }

    void navigationAndAfterScroll()
    {
        auto q = employees();
        QSignalSpy scrolls(q.get(), &Query::afterScroll);
        q->open();
        QCOMPARE(scrolls.count(), 1); // once, for the first row
        q->open();                     // opening an open query does nothing
        QCOMPARE(scrolls.count(), 1);
        QCOMPARE(q->moveBy(2), 2);
        QCOMPARE(q->fieldByName(QStringLiteral("Id"))->asInteger(), 3);
        QCOMPARE(q->moveBy(5), 1); // only one row left
        QVERIFY(q->eof());
        QCOMPARE(q->moveBy(1), 0); // 0 at the end stops the screens' row loops
        QCOMPARE(scrolls.count(), 3);
        q->first();
        QCOMPARE(q->fieldByName(QStringLiteral("Id"))->asInteger(), 1);
        QVERIFY(q->bof());

        // A walk as the screens write it: from the first row while moveBy(1) moves.
        QStringList walked;
        q->first();
        do
            walked << q->fieldByName(QStringLiteral("Id"))->asString();
        while (q->moveBy(1) != 0);
        QCOMPARE(walked, QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}));

        Query empty(*m_connection);
        QSignalSpy none(&empty, &Query::afterScroll);
        empty.sql().add(QStringLiteral("select * from tovary"));
        empty.open();
        QVERIFY(empty.isEmpty());
        QCOMPARE(none.count(), 0);
        QCOMPARE(empty.fieldByName(QStringLiteral("NazvaTovary"))->asString(), QString());
    }

    void changingTextCloses()
    {
        auto q = employees();
        q->open();
        q->sql().replace(0, QStringLiteral("Select Id, PIB, DataVlash, Oklad, IdMagazuny from spivrobitnuku where Id > 2"));
        QVERIFY(!q->active());
        q->open();
        QCOMPARE(q->recordCount(), 2);
        QVERIFY_THROWS_EXCEPTION(Error, q->sql().replace(3, QString()));
    }

    void locate()
    {
        auto q = employees();
        q->open();
        QSignalSpy scrolls(q.get(), &Query::afterScroll);
        QVERIFY(q->locate(QStringLiteral("Id"), 3));
        QCOMPARE(q->fieldByName(QStringLiteral("PIB"))->asString(), QStringLiteral("Петренко Петро"));
        QCOMPARE(scrolls.count(), 1);
        QVERIFY(!q->locate(QStringLiteral("Id"), 99));
        QCOMPARE(q->fieldByName(QStringLiteral("Id"))->asInteger(), 3); // position kept
        QVERIFY(q->locate(QStringLiteral("id"), QStringLiteral("2")));
        QCOMPARE(q->recNo(), 1);
    }

    void calculatedFields()
    {
        m_db->exec(QStringLiteral("INSERT INTO chonadishlo (IdTovary, IdNadhodgennya, Kilkist, Cina) VALUES (1, 1, 3, 2.55), (2, 1, 10, 0.1)"));
        Query q(*m_connection);
        q.sql().add(QStringLiteral("select Kilkist, Cina from chonadishlo"));
        Field *kilkist = q.addField({QStringLiteral("Kilkist"), FieldType::Float});
        Field *cina = q.addField({QStringLiteral("Cina"), FieldType::Float});
        FieldDef sumDef{QStringLiteral("Suma"), FieldType::Float};
        sumDef.kind = FieldKind::Calculated;
        Field *suma = q.addField(sumDef);
        int calls = 0;
        connect(&q, &Query::calcFields, this, [&] {
            ++calls;
            suma->setValue(kilkist->asFloat() * cina->asFloat());
        });
        q.open();
        QCOMPARE(calls, 2);
        QCOMPARE(suma->asString(), QStringLiteral("7,65"));
        q.next();
        QCOMPARE(suma->asFloat(), 1.0);
        QCOMPARE(q.displayText(0, suma), QStringLiteral("7,65"));
        // A filter can test a calculated field.
        q.setFilter(QStringLiteral("Suma>'5'"));
        q.setFiltered(true);
        QCOMPARE(q.recordCount(), 1);
    }

    void integerCalculatedFieldsRoundHalfToEven_data()
    {
        QTest::addColumn<double>("product");
        QTest::addColumn<QString>("text");
        QTest::newRow("7,5 gives 8") << 7.5 << "8";
        QTest::newRow("12,5 gives 12") << 12.5 << "12";
        QTest::newRow("2,5 gives 2") << 2.5 << "2";
        QTest::newRow("2,6 gives 3") << 2.6 << "3";
        QTest::newRow("-1,5 gives -2") << -1.5 << "-2";
    }
    void integerCalculatedFieldsRoundHalfToEven()
    {
        QFETCH(double, product);
        QFETCH(QString, text);
        Query q(*m_connection);
        q.sql().add(QStringLiteral("select 1 as one"));
        q.addField({QStringLiteral("one"), FieldType::Integer});
        FieldDef def{QStringLiteral("Suma"), FieldType::Integer};
        def.kind = FieldKind::Calculated;
        Field *suma = q.addField(def);
        connect(&q, &Query::calcFields, this, [&] { suma->setValue(product); });
        q.open();
        QCOMPARE(suma->asString(), text);
        QCOMPARE(suma->asInteger(), text.toLongLong());
    }

    void filters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("date range inclusive") << "DataVlash>='12.05.2011' and DataVlash<='13.05.2011'" << QStringList{QStringLiteral("1"), QStringLiteral("2")};
        QTest::newRow("one day") << "DataVlash>='13.05.2011' and DataVlash<='13.05.2011'" << QStringList{QStringLiteral("2")};
        QTest::newRow("lower bound after upper") << "DataVlash>='14.05.2011' and DataVlash<='12.05.2011'" << QStringList{};
        QTest::newRow("date equal, quoted as QuoteSqlText writes it") << "DataVlash='14.05.2011'" << QStringList{QStringLiteral("3")};
        QTest::newRow("text with doubled quote") << "PIB='О''Брайен'" << QStringList{QStringLiteral("2")};
        QTest::newRow("text not equal") << "PIB<>'Сидоренко'" << QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
        QTest::newRow("number with comma") << "Oklad>='1850,5'" << QStringList{QStringLiteral("1"), QStringLiteral("2")};
        QTest::newRow("null passes nothing") << "Oklad<'100000'" << QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
        QTest::newRow("integer") << "Id>2" << QStringList{QStringLiteral("3"), QStringLiteral("4")};
        QTest::newRow("or with parentheses") << "(Id='1' or Id='4') and PIB<>'Сидоренко'" << QStringList{QStringLiteral("1")};
        QTest::newRow("not") << "not Id<'3'" << QStringList{QStringLiteral("3"), QStringLiteral("4")};
        QTest::newRow("string field holding ids") << "IdMagazuny='1'" << QStringList{QStringLiteral("1"), QStringLiteral("3")};
        QTest::newRow("keywords in any case") << "Id>'1' AND Id<'4' Or Id='1'" << QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
    }
    void filters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, ids);
        auto q = employees();
        q->open();
        q->next();
        QSignalSpy scrolls(q.get(), &Query::afterScroll);
        q->setFilter(filter);
        q->setFiltered(true);
        QCOMPARE(scrolls.count(), 1); // switching moves to the first passing row
        QCOMPARE(q->recNo(), ids.isEmpty() ? -1 : 0);
        QStringList seen;
        for (int row = 0; row < q->recordCount(); ++row)
            seen << q->displayText(row, q->fieldByName(QStringLiteral("Id")));
        QCOMPARE(seen, ids);
        // The filter stays in force when the query is closed and reopened.
        q->close();
        q->open();
        QCOMPARE(q->recordCount(), ids.size());
        q->setFiltered(false);
        QCOMPARE(q->recordCount(), 4);
    }

    void badFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown field") << "Telefon='1'" << "Field 'Telefon' not found";
        QTest::newRow("not a date") << "DataVlash>='2011-05-12'" << "'2011-05-12' is not a valid date";
        QTest::newRow("not a number") << "Oklad>'abc'" << "'abc' is not a valid floating point value";
        QTest::newRow("unclosed quote") << "PIB='abc" << "";
        QTest::newRow("no operator") << "PIB 'abc'" << "";
        QTest::newRow("dangling and") << "Id>'1' and" << "";
        QTest::newRow("unbalanced parenthesis") << "(Id>'1'" << "";
    }
    void badFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QString, message);
        auto q = employees();
        q->open();
        q->setFilter(QStringLiteral("Id>'2'"));
        q->setFiltered(true);
        try {
            q->setFilter(filter);
            QFAIL("accepted");
        } catch (const Error &error) {
            if (!message.isEmpty())
                QCOMPARE(error.text(), message);
        }
        // The filter in force before stays in force.
        QCOMPARE(q->filter(), QStringLiteral("Id>'2'"));
        QCOMPARE(q->recordCount(), 2);
    }

    void disableControlsHoldsGridSignals()
    {
        auto q = employees();
        q->open();
        QSignalSpy resets(q.get(), &Query::dataReset);
        QSignalSpy moves(q.get(), &Query::currentChanged);
        QSignalSpy scrolls(q.get(), &Query::afterScroll);
        q->disableControls();
        q->first();
        while (q->moveBy(1) != 0) {}
        q->close();
        q->open();
        QCOMPARE(resets.count(), 0);
        QCOMPARE(moves.count(), 0);
        QVERIFY(scrolls.count() > 0); // AfterScroll still runs for the screen
        q->enableControls();
        QCOMPARE(resets.count(), 1);
        QCOMPARE(moves.count(), 1);
    }

    // A screen's AfterScroll handler is called directly, before the signal: what it raises reaches
    // whoever opened or moved the query, after the move itself.
    void afterScrollHandlerRaisesToTheCaller()
    {
        auto q = employees();
        int calls = 0;
        q->setAfterScroll([&] {
            if (++calls == 2)
                throw Error(QStringLiteral("stop"));
        });
        QSignalSpy scrolls(q.get(), &Query::afterScroll);
        q->open();
        QCOMPARE(calls, 1);
        QCOMPARE(scrolls.count(), 1);
        QVERIFY_THROWS_EXCEPTION(Error, q->next());
        QCOMPARE(q->recNo(), 1);
        QCOMPARE(scrolls.count(), 1); // the failed handler's signal is not sent
        q->next();
        QCOMPARE(calls, 3);
        QCOMPARE(scrolls.count(), 2);
    }

    void closedQueryOperations()
    {
        auto q = employees();
        QCOMPARE(q->recordCount(), 0);
        QVERIFY(q->isEmpty());
        QVERIFY_THROWS_EXCEPTION(Error, q->first());
        QCOMPARE(q->fieldByName(QStringLiteral("PIB"))->asString(), QString());
        Query noText(*m_connection);
        QVERIFY_THROWS_EXCEPTION(Error, noText.open());
        QVERIFY_THROWS_EXCEPTION(Error, noText.execSql());
    }
};

QTEST_GUILESS_MAIN(TestQuery)
#include "test_query.moc"
