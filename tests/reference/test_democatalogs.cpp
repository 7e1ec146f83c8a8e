// The five catalogs on the demo data: each screen opens with every row its statement joins, and
// the joined screens lose no one to a reference the demo data leaves unmatched.
#include "reference/form10.h"
#include "reference/form3.h"
#include "reference/form4.h"
#include "reference/form8.h"
#include "reference/form9.h"
#include "screenfixture.h"

using namespace coop;

class TestDemoCatalogs : public QObject
{
    Q_OBJECT

private slots:
    void everyCatalogOpens_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("table");
        QTest::newRow("goods") << 10 << QStringLiteral("tovary");
        QTest::newRow("departments") << 8 << QStringLiteral("viddilu");
        QTest::newRow("suppliers") << 4 << QStringLiteral("postachalnuku");
        QTest::newRow("shops") << 9 << QStringLiteral("magazunu");
        QTest::newRow("employees") << 3 << QStringLiteral("spivrobitnuku");
    }
    void everyCatalogOpens()
    {
        QFETCH(int, screen);
        QFETCH(QString, table);
        ScreenFixture f(true);
        std::unique_ptr<ReferenceScreen> opened;
        switch (screen) {
        case 10: opened = std::make_unique<TForm10>(f.connection); break;
        case 8: opened = std::make_unique<TForm8>(f.connection); break;
        case 4: opened = std::make_unique<TForm4>(f.connection); break;
        case 9: opened = std::make_unique<TForm9>(f.connection); break;
        default: opened = std::make_unique<TForm3>(f.connection); break;
        }
        f.open(*opened);
        const int rows = f.db.value(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt();
        QVERIFY(rows > 0);
        QCOMPARE(opened->findChild<DBGrid *>(QStringLiteral("DBGrid1"))->model()->rowCount(), rows);
        QVERIFY(f.messages.isEmpty());
    }
};

COOP_SCREEN_TEST_MAIN(TestDemoCatalogs)
#include "test_democatalogs.moc"
