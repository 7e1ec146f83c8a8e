// The goods screen driven through its controls: the pattern told on it in full (entry check,
// insert, update, usage checks and delete, search, filter, show all, states, export) with the exact
// statements it sends.
#include "reference/form10.h"
#include "support/baredesktop.h"
#include "screenfixture.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

using namespace coop;

namespace {

const QString Grid = QStringLiteral("Select *\nFrom tovary");

// Catches the workbook the export hands to the desktop, instead of opening it.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QString path;

public slots:
    void open(const QUrl &url) { path = url.toLocalFile(); }
};

} // namespace

class TestGoods : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScreenFixture> f;
    std::unique_ptr<TForm10> screen;

    template <class T> T *control(const char *name) { return screen->findChild<T *>(QLatin1String(name)); }
    QAbstractButton *button(const char *name) { return control<QAbstractButton>(name); }
    QLineEdit *edit(const char *name) { return control<QLineEdit>(name); }
    DBGrid *grid() { return control<DBGrid>("DBGrid1"); }

    // Which of the screen's controls are enabled, in one text: "1 2 3 6 7 8 9 10 | -".
    QString enabledControls()
    {
        QStringList browsing, panel;
        for (int n : {1, 2, 3, 6, 7, 8, 9, 10})
            if (button(QStringLiteral("BitBtn%1").arg(n).toLatin1())->isEnabled())
                browsing.append(QString::number(n));
        for (const char *name : {"Edit1", "Edit2", "Label1", "Label2", "BitBtn4", "BitBtn5"})
            if (control<QWidget>(name)->isEnabled())
                panel.append(QLatin1String(name));
        return browsing.join(u' ') + QStringLiteral(" | ") + (panel.isEmpty() ? QStringLiteral("-") : panel.join(u' '));
    }
    static QString browsingState() { return QStringLiteral("1 2 3 6 7 8 9 10 | -"); }
    static QString editingState() { return QStringLiteral(" | Edit1 Edit2 Label1 Label2 BitBtn4 BitBtn5"); }

private slots:
    void init()
    {
        f = std::make_unique<ScreenFixture>();
        f->db.exec(QStringLiteral("INSERT INTO tovary VALUES (1, 'Цукор', 'Білий кристал'), (2, 'Борошно', 'Вищий ґатунок'),"
                                  "(3, 'Олія', 'Золота'), (4, 'Чай', 'D''Artagnan'), (5, 'Сіль', 'C:\\Кухонна')"));
        screen = std::make_unique<TForm10>(f->connection);
        f->open(*screen);
    }
    void cleanup()
    {
        screen.reset();
        f.reset();
    }

    void opensBrowsing()
    {
        QCOMPARE(screen->windowTitle(), QStringLiteral("Товари"));
        QCOMPARE(screen->size(), QSize(585, 505));
        QCOMPARE(enabledControls(), browsingState());
        QCOMPARE(screen->tag(), coop::EditMode::None);
        QCOMPARE(screen->Query1->recordCount(), 5);
        QCOMPARE(grid()->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Назва товару"));
    }

    void addWritesTheRowAndReloads()
    {
        f->click(button("BitBtn1"));
        QCOMPARE(enabledControls(), editingState());
        QCOMPARE(screen->tag(), coop::EditMode::Insert);
        edit("Edit1")->setText(QStringLiteral("Кава"));
        edit("Edit2")->setText(QStringLiteral("О'Ніл"));
        f->click(button("BitBtn4"));

        QCOMPARE(f->statements(),
                 QStringList({QStringLiteral("INSERT INTO tovary (NazvaTovary,MarkaTovary) values('Кава','О''Ніл')"), Grid}));
        QCOMPARE(f->db.value(QStringLiteral("SELECT MarkaTovary FROM tovary WHERE NazvaTovary='Кава'")), QStringLiteral("О'Ніл"));
        QCOMPARE(enabledControls(), browsingState());
        QCOMPARE(edit("Edit1")->text(), QString());
        QCOMPARE(screen->Query1->recNo(), 0);
        QCOMPARE(screen->tag(), coop::EditMode::Insert); // the edit mode outlives the panel
    }

    void entryCheck_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("brand");
        QTest::newRow("no name") << QString() << QStringLiteral("Золота");
        QTest::newRow("no brand") << QStringLiteral("Олія") << QString();
    }
    void entryCheck()
    {
        QFETCH(QString, name);
        QFETCH(QString, brand);
        f->click(button("BitBtn1"));
        edit("Edit1")->setText(name);
        edit("Edit2")->setText(brand);
        f->click(button("BitBtn4"));
        QCOMPARE(f->messageTexts(), QStringList(QStringLiteral("Помилка|Введіть дані")));
        QCOMPARE(f->messages[0].icon, MessageIcon::Exclamation);
        QCOMPARE(f->statements(), QStringList());
        QCOMPARE(enabledControls(), editingState());
        QCOMPARE(edit("Edit1")->text(), name);
    }

    void editUpdatesTheRowCurrentAtAccept()
    {
        f->selectCell(grid(), 1, 1);
        f->click(button("BitBtn2"));
        QCOMPARE(screen->tag(), coop::EditMode::Update);
        QCOMPARE(edit("Edit1")->text(), QStringLiteral("Борошно"));
        QCOMPARE(edit("Edit2")->text(), QStringLiteral("Вищий ґатунок"));
        // No check in edit mode: an emptied field is written as the empty text.
        edit("Edit2")->clear();
        f->selectCell(grid(), 2, 1); // the grid stays usable: the row current at "Прийняти" is written
        f->click(button("BitBtn4"));
        QCOMPARE(f->statements(), QStringList({QStringLiteral("Update tovary Set NazvaTovary='Борошно', MarkaTovary='' Where Id=3"), Grid}));
        QCOMPARE(f->db.value(QStringLiteral("SELECT NazvaTovary FROM tovary WHERE Id=3")), QStringLiteral("Борошно"));
    }

    void cancelWritesNothing()
    {
        f->click(button("BitBtn1"));
        edit("Edit1")->setText(QStringLiteral("Кава"));
        QTest::keyClick(edit("Edit1"), Qt::Key_Escape); // the goods' cancel button is the window's
        QCOMPARE(enabledControls(), browsingState());
        QCOMPARE(edit("Edit1")->text(), QString());
        QCOMPARE(f->statements(), QStringList());
    }

    void usageChecks_data()
    {
        QTest::addColumn<QString>("reference");
        QTest::newRow("base stock") << QStringLiteral("INSERT INTO baza VALUES (NULL, 3, 10)");
        QTest::newRow("shop audit line") << QStringLiteral("INSERT INTO reveziyamagazuny VALUES (NULL, 1, 3, 2, 9.5, '2011-05-13')");
        QTest::newRow("receipt line") << QStringLiteral("INSERT INTO chonadishlo VALUES (NULL, 3, 1, 5, 7)");
        QTest::newRow("shop stock") << QStringLiteral("INSERT INTO nayavnistvmagazuni VALUES (NULL, 1, 3, 2, 7, 8.75)");
        QTest::newRow("only a base audit line") << QStringLiteral("INSERT INTO pozuciireviziibazu VALUES (NULL, 1, 3, 4, 7)");
        QTest::newRow("distribution line") << QStringLiteral("INSERT INTO pozuciirozpodily VALUES (NULL, 1, 3, 4, 7)");
    }
    void usageChecks()
    {
        QFETCH(QString, reference);
        f->db.exec(reference);
        f->selectCell(grid(), 2, 0);
        f->click(button("BitBtn3"));
        // All six counts are taken, in order; the refusal asks nothing and reloads nothing.
        QCOMPARE(f->statements(), QStringList({
                                      QStringLiteral("SELECT COUNT(*) From baza where baza.IdTovary=3;"),
                                      QStringLiteral("SELECT COUNT(*) From reveziyamagazuny where reveziyamagazuny.IdTovary=3;"),
                                      QStringLiteral("SELECT COUNT(*) From chonadishlo where chonadishlo.IdTovary=3;"),
                                      QStringLiteral("SELECT COUNT(*) From nayavnistvmagazuni where nayavnistvmagazuni.IdTovary=3;"),
                                      QStringLiteral("SELECT COUNT(*) From pozuciireviziibazu where pozuciireviziibazu.IdTovary=3;"),
                                      QStringLiteral("SELECT COUNT(*) From pozuciirozpodily where pozuciirozpodily.IdTovary=3;"),
                                  }));
        QCOMPARE(f->messageTexts(), QStringList(QStringLiteral("Помилка!|Неможливо видалити, запис зустрічається в інших таблицях!")));
        QCOMPARE(f->messages[0].icon, MessageIcon::Error);
        QCOMPARE(f->db.value(QStringLiteral("SELECT COUNT(*) FROM tovary")), QStringLiteral("5"));
        QCOMPARE(screen->Query1->recNo(), 2);
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("remaining");
        QTest::addColumn<int>("currentAfter");
        QTest::newRow("Yes deletes and reloads") << int(mrYes) << QStringLiteral("4") << 0;
        QTest::newRow("No leaves the grid as it was") << int(mrNo) << QStringLiteral("5") << 2;
    }
    void deleteAsksFirst()
    {
        QFETCH(int, answer);
        QFETCH(QString, remaining);
        QFETCH(int, currentAfter);
        f->messageAnswers = {answer};
        f->selectCell(grid(), 2, 0);
        f->click(button("BitBtn3"));
        QCOMPARE(f->messageTexts(), QStringList(QStringLiteral("Увага!!!|Ви дійсно хочете видалити запис?")));
        QCOMPARE(f->messages[0].buttons, MessageButton::Yes | MessageButton::No);
        QCOMPARE(f->messages[0].icon, MessageIcon::Question);
        const QStringList sent = f->statements().mid(6);
        QCOMPARE(sent, answer == mrYes ? QStringList({QStringLiteral("DELETE FROM tovary WHERE tovary.Id=3;"), Grid}) : QStringList());
        QCOMPARE(f->db.value(QStringLiteral("SELECT COUNT(*) FROM tovary")), remaining);
        QCOMPARE(screen->Query1->recNo(), currentAfter);
    }

    void withoutACurrentRowNothingIsSent_data()
    {
        QTest::addColumn<QString>("pressed");
        QTest::newRow("Редагувати") << QStringLiteral("BitBtn2");
        QTest::newRow("Видалити") << QStringLiteral("BitBtn3");
    }
    void withoutACurrentRowNothingIsSent()
    {
        QFETCH(QString, pressed);
        f->typeIntoDialog(QStringLiteral("Кава"));
        f->click(button("BitBtn7"));
        QVERIFY(screen->Query1->isEmpty());
        f->clearLog();
        f->click(button(pressed.toLatin1()));
        QCOMPARE(f->messageTexts(), QStringList(QStringLiteral("Помилка|Не вибрано жодного запису")));
        QCOMPARE(f->statements(), QStringList());
        QCOMPARE(enabledControls(), browsingState());
    }

    void secondSearchReplacesTheFirst()
    {
        f->selectCell(grid(), 0, 1);
        f->typeIntoDialog(QStringLiteral("Олія"));
        f->click(button("BitBtn7"));
        QCOMPARE(f->statements(), QStringList(Grid + QStringLiteral("\n WHERE NazvaTovary='Олія'")));
        QCOMPARE(screen->Query1->recordCount(), 1);

        f->clearLog();
        f->selectCell(grid(), 0, 0);
        f->typeIntoDialog(QStringLiteral("4"));
        f->click(button("BitBtn7"));
        QCOMPARE(f->statements(), QStringList(Grid + QStringLiteral("\n WHERE Id='4'")));
        QCOMPARE(screen->Query1->fieldByName(QStringLiteral("NazvaTovary"))->asString(), QStringLiteral("Чай"));

        // A cancelled dialog changes nothing, the query is not even closed.
        f->clearLog();
        f->typeIntoDialog(QStringLiteral("Цукор"), false);
        f->click(button("BitBtn7"));
        QCOMPARE(f->statements(), QStringList());
        QCOMPARE(screen->Query1->sql().count(), 3);
        QVERIFY(screen->Query1->active());
    }

    // The typed value is one quoted literal: an apostrophe or a backslash is looked for as typed.
    void typedTextIsQuoted_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("conditionLine");
        QTest::addColumn<QString>("found");
        QTest::newRow("search, apostrophe") << "BitBtn7" << QStringLiteral("D'Artagnan") << QStringLiteral(" WHERE MarkaTovary='D''Artagnan'")
                                            << QStringLiteral("Чай");
        QTest::newRow("search, backslash") << "BitBtn7" << QStringLiteral("C:\\Кухонна") << QStringLiteral(" WHERE MarkaTovary='C:\\Кухонна'")
                                           << QStringLiteral("Сіль");
        QTest::newRow("filter, apostrophe") << "BitBtn8" << QStringLiteral("'Art") << QStringLiteral(" WHERE MarkaTovary LIKE '%''Art%'")
                                            << QStringLiteral("Чай");
        QTest::newRow("filter, backslash") << "BitBtn8" << QStringLiteral(":\\К") << QStringLiteral(" WHERE MarkaTovary LIKE '%:\\\\К%'")
                                           << QStringLiteral("Сіль");
        QTest::newRow("filter, rewriting the statement is only text")
            << "BitBtn8" << QStringLiteral("' OR ''='") << QStringLiteral(" WHERE MarkaTovary LIKE '%'' OR ''''=''%'") << QString();
    }
    void typedTextIsQuoted()
    {
        QFETCH(QString, button);
        QFETCH(QString, typed);
        QFETCH(QString, conditionLine);
        QFETCH(QString, found);
        f->selectCell(grid(), 0, 2);
        f->typeIntoDialog(typed);
        f->click(this->button(button.toLatin1()));
        QCOMPARE(screen->Query1->sql()[2], conditionLine);
        QStringList names;
        for (int row = 0; row < screen->Query1->recordCount(); ++row)
            names.append(screen->Query1->displayText(row, screen->Query1->field(1)));
        QCOMPARE(names, found.isEmpty() ? QStringList() : QStringList(found));
        QVERIFY(f->messages.isEmpty());
    }

    void showAll()
    {
        // Before any search or filter: nothing to do, nothing sent.
        f->click(button("BitBtn9"));
        QCOMPARE(f->statements(), QStringList());
        QCOMPARE(screen->Query1->sql().count(), 2);

        f->selectCell(grid(), 0, 1);
        f->typeIntoDialog(QStringLiteral("Олія"));
        f->click(button("BitBtn8"));
        QCOMPARE(screen->Query1->recordCount(), 1);
        f->clearLog();
        f->click(button("BitBtn9"));
        QCOMPARE(f->statements(), QStringList(Grid + QStringLiteral("\n ")));
        QCOMPARE(screen->Query1->recordCount(), 5);
    }

    void showAllReportsItsOwnFailure()
    {
        f->selectCell(grid(), 0, 1);
        f->typeIntoDialog(QStringLiteral("Олія"));
        f->click(button("BitBtn7"));
        f->db.exec(QStringLiteral("RENAME TABLE tovary TO tovary_away"));
        f->clearLog();
        f->click(button("BitBtn9"));
        QCOMPARE(f->messageTexts(), QStringList(QStringLiteral("Помилка!!!|Невірний запит, або помилка підключення до БД")));
        QCOMPARE(f->messages[0].icon, MessageIcon::Error);
        QVERIFY(!screen->Query1->active());
        f->db.exec(QStringLiteral("RENAME TABLE tovary_away TO tovary"));
    }

    // A screen closed through its title bar while its panel is open comes back browsing.
    void closedWithThePanelOpenComesBackUsable()
    {
        f->click(button("BitBtn1"));
        edit("Edit1")->setText(QStringLiteral("Кава"));
        screen->close();
        QVERIFY(!screen->isVisible());

        f->reopen(*screen);
        QCOMPARE(enabledControls(), browsingState());
        QCOMPARE(edit("Edit1")->text(), QString());
        QCOMPARE(screen->tag(), coop::EditMode::Insert);

        f->click(button("BitBtn1"));
        edit("Edit1")->setText(QStringLiteral("Кава"));
        edit("Edit2")->setText(QStringLiteral("Арабіка"));
        f->click(button("BitBtn4"));
        QCOMPARE(f->db.value(QStringLiteral("SELECT COUNT(*) FROM tovary WHERE NazvaTovary='Кава'")), QStringLiteral("1"));
        f->click(button("BitBtn10"));
        QVERIFY(!screen->isVisible());
    }

    void exportLeavesTheLastRowCurrent()
    {
        BareDesktop desktop; // with an application for workbooks, whatever this machine has
        desktop.registerSpreadsheetApplication();
        const UrlCatcher catcher;
        f->selectCell(grid(), 1, 0);
        f->click(button("BitBtn6"));
        QVERIFY(f->messages.isEmpty());
        QCOMPARE(screen->Query1->recNo(), 4);
        QVERIFY(!catcher.path.isEmpty());
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), catcher.path, QStringLiteral("xl/workbook.xml")});
        QVERIFY(unzip.waitForFinished());
        QVERIFY(QString::fromUtf8(unzip.readAllStandardOutput()).contains(QStringLiteral("<sheet name=\"Товари\"")));
        QFile::remove(catcher.path);
    }
};

COOP_SCREEN_TEST_MAIN(TestGoods)
#include "test_goods.moc"
