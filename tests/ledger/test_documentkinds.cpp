// The one table of the kinds of document: each kind named once, and the text every reader shows for
// a journal row read through the expression it gives, on the server: with the header's date, without
// it once the header is gone, and a kind the program does not know shown as the journal names it.
#include "data/database.h"
#include "ledger/documentkinds.h"
#include "support/testdatabase.h"

#include <QSet>
#include <QTest>

using namespace coop;

class TestDocumentKinds : public QObject
{
    Q_OBJECT

private slots:
    void everyKindOnce()
    {
        QSet<QString> names;
        QSet<int> documents;
        for (const DocumentKind &kind : documentKinds()) {
            names << kind.journalName;
            documents << int(kind.document);
            QCOMPARE(documentKindNamed(kind.journalName), &kind);
            QCOMPARE(&documentKind(kind.document), &kind);
            QCOMPARE(kind.headerTable.isEmpty(), kind.dateColumn.isEmpty());
        }
        QCOMPARE(names.size(), qsizetype(documentKinds().size()));
        QCOMPARE(documents.size(), qsizetype(documentKinds().size()));
        QCOMPARE(documentKindNamed(QStringLiteral("сторно")), nullptr);
        // The names the journal holds already (and the upgrade script writes) stay as they are.
        QCOMPARE(documentKind(StockDocument::Opening).journalName, QStringLiteral("залишок на початок"));
        QCOMPARE(documentKind(StockDocument::Receipt).journalName, QStringLiteral("надходження"));
        QCOMPARE(documentKind(StockDocument::Distribution).journalName, QStringLiteral("розподіл"));
    }

    void documentText_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("shown");
        QTest::newRow("receipt") << "надходження"
                                 << "12"
                                 << "Надходження № 12 від 12.05.2011";
        QTest::newRow("receipt deleted since") << "надходження"
                                               << "99"
                                               << "Надходження № 99";
        QTest::newRow("distribution") << "розподіл"
                                      << "8"
                                      << "Розподіл № 8 від 23.05.2011";
        QTest::newRow("distribution numbered as a receipt") << "розподіл"
                                                            << "12"
                                                            << "Розподіл № 12";
        QTest::newRow("opening row") << "залишок на початок"
                                     << "NULL"
                                     << "Залишок на початок";
        QTest::newRow("a kind this program does not know") << "сторно"
                                                           << "5"
                                                           << "сторно";
    }
    void documentText()
    {
        QFETCH(QString, kind);
        QFETCH(QString, document);
        QFETCH(QString, shown);
        TestDatabase db;
        db.exec(QStringLiteral(
                    "INSERT INTO nadhodgennya VALUES (12, 1, 2, '2011-05-12');"
                    "INSERT INTO rozpodil VALUES (8, 1, 2, '2011-05-23');"
                    "INSERT INTO ruhtovariv (Moment, Korystuvach, VydDokumenta, IdDokumenta, IdTovary, IdMagazuny, Kilkist, "
                    "Zalyshok, Komanda) VALUES (NOW(6), 'root', '%1', %2, 1, NULL, 1, 1, 'k')")
                    .arg(kind, document));
        const QString select = QStringLiteral("SELECT ") + documentTextExpression(QStringLiteral("j")).join(u'\n')
            + QStringLiteral("\nFROM ruhtovariv j\n") + documentJoins(QStringLiteral("j")).join(u'\n');
        QCOMPARE(db.value(select), shown);
    }
};

QTEST_GUILESS_MAIN(TestDocumentKinds)
#include "test_documentkinds.moc"
