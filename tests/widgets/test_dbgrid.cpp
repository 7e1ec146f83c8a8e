#include "data/database.h"
#include "data/query.h"
#include "support/guitestmain.h"
#include "support/testdatabase.h"
#include "widgets/dbgrid.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QStyle>

#include <memory>

using namespace coop;

namespace {

// Three goods rows in a grid over Id and NazvaTovary; MarkaTovary is declared hidden.
struct GoodsGrid
{
    TestDatabase db;
    Database database;
    Query query{database};
    DBGrid grid;
    int afterScrolls = 0;

    GoodsGrid()
    {
        db.exec(QStringLiteral("INSERT INTO tovary (NazvaTovary, MarkaTovary) VALUES "
                               "('Хліб','Київхліб'),('Молоко','Галичина'),('Сіль','Артемсіль')"));
        query.sql().add(QStringLiteral("Select *"));
        query.sql().add(QStringLiteral("From tovary"));
        query.addField({QStringLiteral("Id"), FieldType::Integer, 0, QStringLiteral("Код"), 6});
        query.addField({QStringLiteral("NazvaTovary"), FieldType::String, 40, QStringLiteral("Назва товару")});
        FieldDef hidden{QStringLiteral("MarkaTovary"), FieldType::String, 30, QStringLiteral("Марка товару")};
        hidden.visible = false;
        query.addField(hidden);
        QObject::connect(&query, &Query::afterScroll, &query, [this] { ++afterScrolls; });
        grid.setQuery(&query);
        grid.resize(500, 300);
        grid.show();
        query.open();
    }
    QString current() const { return query.fieldByName(QStringLiteral("NazvaTovary"))->asString(); }
    void click(int row, int column)
    {
        const QRect cell = grid.visualRect(grid.model()->index(row, column));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    }
};

} // namespace

class TestDBGrid : public QObject
{
    Q_OBJECT

private slots:
    void showsTheVisibleFieldsInDeclaredOrder()
    {
        GoodsGrid g;
        QAbstractItemModel *model = g.grid.model();
        QCOMPARE(model->columnCount(), 2);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Код"));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Назва товару"));
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(model->index(2, 1).data().toString(), QStringLiteral("Сіль"));
        QVERIFY(!(model->flags(model->index(0, 1)) & Qt::ItemIsEditable));
        // Widths follow DisplayWidth: a column of 40 holds 40 characters of ordinary text and not
        // much more or less.
        const int text = g.grid.fontMetrics().horizontalAdvance(QStringLiteral("the cooperative keeps its goods in store"));
        QVERIFY2(g.grid.columnWidth(1) > text * 0.9 && g.grid.columnWidth(1) < text * 1.15, qPrintable(QString::number(g.grid.columnWidth(1))));
    }

    // A title wider than its field's DisplayWidth widens the column to the whole title; a date
    // column of the default width holds its whole date.
    void titlesAndDatesReadWhole()
    {
        TestDatabase db;
        db.exec(QStringLiteral("INSERT INTO tovary (NazvaTovary) VALUES ('Хліб')"));
        Database database;
        Query query(database);
        query.sql().add(QStringLiteral("Select tovary.*, DATE('2026-12-28') AS Data From tovary"));
        query.addField({QStringLiteral("Id"), FieldType::Integer, 0, QStringLiteral("Кількість на складі"), 4});
        query.addField({QStringLiteral("NazvaTovary"), FieldType::String, 40, QStringLiteral("Назва"), 30});
        query.addField({QStringLiteral("Data"), FieldType::Date, 0, QStringLiteral("Дата")});
        DBGrid grid;
        grid.setQuery(&query);
        grid.resize(500, 300);
        grid.show();
        query.open();
        // The title's room inside the header section's margins takes the whole title.
        const QFontMetrics title(grid.horizontalHeader()->font());
        const int margin = grid.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, grid.horizontalHeader());
        QVERIFY(grid.columnWidth(0) - 2 * margin >= title.horizontalAdvance(QStringLiteral("Кількість на складі")));
        // A title narrower than the field's room changes nothing: the 30 characters of the field.
        const int text = grid.fontMetrics().horizontalAdvance(QStringLiteral("the cooperative keeps its good"));
        QVERIFY(grid.columnWidth(1) > text * 0.9 && grid.columnWidth(1) < text * 1.15);
        // The cell's text margins are the item view's own.
        const int cellMargins = 2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1);
        QCOMPARE(grid.model()->index(0, 2).data().toString(), QStringLiteral("28.12.2026"));
        QVERIFY(grid.columnWidth(2) - cellMargins >= grid.fontMetrics().horizontalAdvance(QStringLiteral("28.12.2026")));
    }

    void clickMakesTheRowCurrent()
    {
        GoodsGrid g;
        QCOMPARE(g.afterScrolls, 1); // opening, for the first row
        g.click(2, 1);
        QCOMPARE(g.query.recNo(), 2);
        QCOMPARE(g.current(), QStringLiteral("Сіль"));
        QCOMPARE(g.afterScrolls, 2);
        QCOMPARE(g.grid.selectedField(), QStringLiteral("NazvaTovary"));
        g.click(2, 0); // same row, other column: the row does not move again
        QCOMPARE(g.afterScrolls, 2);
        QCOMPARE(g.grid.selectedField(), QStringLiteral("Id"));
    }

    void followsTheQuerysCurrentRow()
    {
        GoodsGrid g;
        QCOMPARE(g.grid.currentIndex().row(), 0);
        g.query.next();
        QCOMPARE(g.grid.currentIndex().row(), 1);
        g.query.last();
        QCOMPARE(g.grid.currentIndex().row(), 2);
        const int scrolls = g.afterScrolls;
        g.grid.grab(); // painting reads every row but moves none
        QCOMPARE(g.query.recNo(), 2);
        QCOMPARE(g.afterScrolls, scrolls);
    }

    void holdsStillWhileControlsAreDisabled()
    {
        GoodsGrid g;
        {
            ControlsDisabled still(g.query);
            g.query.next();
            g.query.next();
            QCOMPARE(g.grid.currentIndex().row(), 0);
        }
        QCOMPARE(g.grid.currentIndex().row(), 2);
        QCOMPARE(g.grid.model()->rowCount(), 3);
    }

    void closingEmptiesTheGridAndReopeningFillsIt()
    {
        GoodsGrid g;
        g.query.close();
        QCOMPARE(g.grid.model()->rowCount(), 0);
        g.db.exec(QStringLiteral("INSERT INTO tovary (NazvaTovary) VALUES ('Цукор')"));
        g.query.open();
        QCOMPARE(g.grid.model()->rowCount(), 4);
        QCOMPARE(g.grid.currentIndex().row(), 0);
    }

    void aMillionRowsOpenAndScroll()
    {
        TestDatabase db;
        Database database;
        Query query(database);
        query.sql().add(QStringLiteral("SELECT seq AS Id FROM seq_1_to_1000000"));
        query.addField({QStringLiteral("Id"), FieldType::Integer, 0, QStringLiteral("Код"), 8});
        DBGrid grid;
        grid.setQuery(&query);
        grid.resize(300, 300);
        grid.show();
        query.open();
        QCOMPARE(grid.model()->rowCount(), 1000000);
        query.last();
        QCOMPARE(grid.currentIndex().row(), 999999);
        grid.grab();
        QCOMPARE(grid.model()->index(999999, 0).data().toString(), QStringLiteral("1000000"));
        QCOMPARE(query.recNo(), 999999);
    }
};

COOP_GUI_TEST_MAIN(TestDBGrid)
#include "test_dbgrid.moc"
