// The employees screen driven through its controls: the masked dates and telephone, the key
// filters, the three id-list combo boxes, the statements with their quoting, the usage checks, and
// the department, shop and employment-date filters sharing the grid query's one filter.
#include "reference/form3.h"
#include "screenfixture.h"
#include "widgets/datetimepicker.h"
#include "widgets/idcombobox.h"
#include "widgets/maskedit.h"

#include <QAbstractItemView>
#include <QCalendarWidget>

using namespace coop;

namespace {
const QString Select = QStringLiteral(
    "SELECT spivrobitnuku.Id, spivrobitnuku.PIB, spivrobitnuku.DataNarodgennya, spivrobitnuku.PasportniDani, spivrobitnuku.IPN, "
    "spivrobitnuku.DataVlash,spivrobitnuku.Adresa, spivrobitnuku.Telefon, viddilu.NazvaViddily, posadu.NazvaPosadu, "
    "spivrobitnuku.Oklad, magazunu.NazvaMagazuny, spivrobitnuku.IdViddily, spivrobitnuku.IdPosadu, spivrobitnuku.Idmagazuny\n"
    "FROM spivrobitnuku, posadu, viddilu, magazunu\n");
const QString Grid = Select + QStringLiteral("WHERE spivrobitnuku.IdPosadu = posadu.Id AND spivrobitnuku.IdViddily = viddilu.Id AND "
                                             "spivrobitnuku.IdMagazuny=magazunu.id");
} // namespace

class TestEmployees : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScreenFixture> f;
    std::unique_ptr<TForm3> screen;

    template <class T> T *control(const char *name) { return screen->findChild<T *>(QLatin1String(name)); }
    QAbstractButton *button(const char *name) { return control<QAbstractButton>(name); }
    QLineEdit *edit(const char *name) { return control<QLineEdit>(name); }
    MaskEdit *mask(const char *name) { return control<MaskEdit>(name); }
    IdComboBox *choice(const char *name) { return control<IdComboBox>(name); }
    DBGrid *grid() { return control<DBGrid>("DBGrid1"); }
    QStringList names()
    {
        QStringList out;
        for (int row = 0; row < screen->Query1->recordCount(); ++row)
            out.append(screen->Query1->displayText(row, screen->Query1->field(1)).section(u' ', 0, 0));
        return out;
    }
    // Chooses an entry of a drop-down list with the keyboard, as the clerk does.
    // Picks an entry in the combo box's drop-down list, as a click in the list does.
    static void choose(QComboBox *box, int index)
    {
        box->showPopup();
        box->view()->setCurrentIndex(box->model()->index(index, 0));
        QTest::keyClick(box->view(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    // Opens the drop-down list and closes it again without a choice.
    static void dismissList(QComboBox *box)
    {
        box->showPopup();
        QTest::keyClick(box->view(), Qt::Key_Escape);
        QCoreApplication::processEvents();
    }
    static void closeCalendar(DateTimePicker *picker, QDate date)
    {
        picker->setDate(date);
        picker->calendarWidget()->window()->show();
        picker->calendarWidget()->window()->hide();
    }
    void typeMasked(const char *name, const QString &digits)
    {
        mask(name)->setFocus();
        QTest::keyClicks(mask(name), digits);
    }
    // A complete, valid set of entries for an insert.
    void fillEntries()
    {
        edit("Edit1")->setText(QStringLiteral("Романенко Тарас Ігорович"));
        edit("Edit3")->setText(QStringLiteral("КВ123456"));
        QTest::keyClicks(edit("Edit4"), QStringLiteral("3012345678"));
        edit("Edit6")->setText(QStringLiteral("вул. О'Коннора, 5"));
        QTest::keyClicks(edit("Edit7"), QStringLiteral("1850,5"));
        typeMasked("MaskEdit1", QStringLiteral("19900214"));
        typeMasked("MaskEdit2", QStringLiteral("20110513"));
        typeMasked("MaskEdit3", QStringLiteral("0501234567"));
        edit("Edit1")->setFocus();
        choice("ComboBox1")->setCurrentIndex(1);
        choice("ComboBox2")->setCurrentIndex(0);
        choice("ComboBox3")->setCurrentIndex(1);
    }

private slots:
    void init()
    {
        f = std::make_unique<ScreenFixture>();
        f->db.exec(QStringLiteral(
            "INSERT INTO viddilu VALUES (1, 'Бухгалтерія', 'к. 5'), (2, 'Склад', 'вул. Складська, 3');"
            "INSERT INTO posadu VALUES (1, 'Бухгалтер'), (2, 'Комірник');"
            "INSERT INTO magazunu VALUES (1, 'Центральний', 'вул. Центральна, 10', 1), (2, 'Продукти', 'вул. Шевченка, 45', 3);"
            "INSERT INTO spivrobitnuku VALUES"
            " (1, 'Бондаренко Оксана Петрівна', '1979-11-22', 'СА730418', 2918017480, '2008-09-15', 'вул. Молодіжна, 21',"
            "  '(066)-408-17-39', 1, 1, 1850.5, '1'),"
            " (2, 'Кравченко Микола Олексійович', '1966-04-17', 'КВ093847', 2421328570, '2011-05-13', 'вул. Складська, 9',"
            "  '(067)-903-58-21', 2, 2, 1950, '2'),"
            " (3, 'Олійник Сергій Володимирович', NULL, 'СА318526', 2977132273, '2011-05-20', 'вул. Миру, 40',"
            "  '(050)-648-11-90', 2, 2, 1320, '2')"));
        screen = std::make_unique<TForm3>(f->connection);
        f->open(*screen);
    }
    void cleanup()
    {
        screen.reset();
        f.reset();
    }

    void createsTheFilterLists()
    {
        auto *departments = control<QComboBox>("ComboBox4");
        QCOMPARE(departments->count(), 3);
        QCOMPARE(departments->itemText(0), QStringLiteral("-Всі записи-"));
        QCOMPARE(departments->itemText(2), QStringLiteral("Склад"));
        QCOMPARE(departments->currentIndex(), 0);
        QCOMPARE(control<QComboBox>("ComboBox5")->itemText(1), QStringLiteral("Центральний"));
        QCOMPARE(control<DateTimePicker>("DateTimePicker1")->date(), QDate(2011, 5, 13));
        QCOMPARE(grid()->model()->columnCount(), 12);
        QCOMPARE(names().size(), 3);
    }

    void insertQuotesEveryValue()
    {
        f->click(button("BitBtn1"));
        QCOMPARE(f->statements(), QStringList({QStringLiteral("SELECT* FROM viddilu"), QStringLiteral("SELECT* FROM posadu"),
                                               QStringLiteral("SELECT* FROM magazunu")}));
        QVERIFY(!control<QWidget>("ComboBox4")->isEnabled());
        QVERIFY(!button("BitBtn6")->isEnabled());
        fillEntries();
        QCOMPARE(edit("Edit7")->text(), QStringLiteral("1850.5")); // the typed comma became a point
        f->clearLog();
        f->click(button("BitBtn4"));
        QCOMPARE(f->messages.size(), 0);
        QCOMPARE(f->statements(),
                 QStringList({QStringLiteral("INSERT INTO spivrobitnuku (PIB,DataNarodgennya,PasportniDani,IPN,DataVlash,Adresa,Telefon,"
                                             "IdViddily,IdPosadu,Oklad,IdMagazuny) values ('Романенко Тарас Ігорович','1990-02-14',"
                                             "'КВ123456','3012345678','2011-05-13','вул. О''Коннора, 5','(050)-123-45-67','2','1',"
                                             "'1850.5','2')"),
                              Grid}));
        QCOMPARE(f->db.value(QStringLiteral("SELECT CONCAT(IPN, '|', Oklad, '|', IdMagazuny) FROM spivrobitnuku WHERE Id=4")),
                 QStringLiteral("3012345678|1850.5|2"));
        QVERIFY(control<QWidget>("ComboBox4")->isEnabled());
        QCOMPARE(choice("ComboBox1")->currentIndex(), -1);
    }

    void entryCheck_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("passport of 7") << "Edit3" << QStringLiteral("КВ12345");
        QTest::newRow("passport of 9") << "Edit3" << QStringLiteral("КВ1234567");
        QTest::newRow("taxpayer number of 9") << "Edit4" << QStringLiteral("301234567");
        QTest::newRow("no salary") << "Edit7" << QString();
        QTest::newRow("birth date untouched") << "MaskEdit1" << QString();
        QTest::newRow("employment date incomplete") << "MaskEdit2" << QStringLiteral("2011-05-1");
        QTest::newRow("telephone incomplete") << "MaskEdit3" << QStringLiteral("(050)-123-45-6");
        QTest::newRow("no department chosen") << "ComboBox1" << QString();
        QTest::newRow("no shop chosen") << "ComboBox3" << QString();
    }
    void entryCheck()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        f->click(button("BitBtn1"));
        fillEntries();
        QWidget *control = screen->findChild<QWidget *>(field);
        if (auto *box = qobject_cast<IdComboBox *>(control))
            box->setCurrentIndex(-1);
        else if (auto *masked = qobject_cast<MaskEdit *>(control))
            masked->setText(text);
        else
            qobject_cast<QLineEdit *>(control)->setText(text);
        f->clearLog();
        f->click(button("BitBtn4"));
        QCOMPARE(f->messageTexts(), QStringList(QStringLiteral("Помилка|Введіть коректні дані")));
        QCOMPARE(f->statements(), QStringList());
        QVERIFY(button("BitBtn4")->isEnabled());
    }

    void updateWritesTheIdsBare()
    {
        f->selectCell(grid(), 0, 1);
        f->click(button("BitBtn2"));
        QCOMPARE(mask("MaskEdit1")->text(), QStringLiteral("1979-11-22"));
        QCOMPARE(mask("MaskEdit3")->text(), QStringLiteral("(066)-408-17-39"));
        QCOMPARE(edit("Edit4")->text(), QStringLiteral("2918017480"));
        QCOMPARE(edit("Edit7")->text(), QStringLiteral("1850.5"));
        QCOMPARE(choice("ComboBox2")->currentText(), QStringLiteral("Бухгалтер"));
        choice("ComboBox3")->setCurrentIndex(1);
        edit("Edit3")->setText(QStringLiteral("СА7304")); // no check when editing
        f->clearLog();
        f->click(button("BitBtn4"));
        QCOMPARE(f->statements(), QStringList({QStringLiteral("UPDATE spivrobitnuku Set PIB='Бондаренко Оксана Петрівна', "
                                                              "DataNarodgennya='1979-11-22', PasportniDani='СА7304', IPN='2918017480', "
                                                              "DataVlash='2008-09-15', Adresa='вул. Молодіжна, 21', Telefon='(066)-408-17-39', "
                                                              "IdViddily=1, IdPosadu=1, Oklad='1850.5', IdMagazuny=2 WHERE spivrobitnuku.Id=1"),
                                               Grid}));
    }

    // The date pickers stay enabled while the panel is open; the filter they set makes another
    // employee current, so the panel closes rather than write over that one.
    void theDateFilterClosesAnOpenPanel()
    {
        f->selectCell(grid(), 0, 1); // Бондаренко, employed in 2008
        f->click(button("BitBtn2"));
        QVERIFY(button("BitBtn4")->isEnabled());
        control<DateTimePicker>("DateTimePicker2")->setDate(QDate(2011, 5, 31));
        closeCalendar(control<DateTimePicker>("DateTimePicker1"), QDate(2011, 5, 13));
        QCOMPARE(names(), QStringList({QStringLiteral("Кравченко"), QStringLiteral("Олійник")}));
        QVERIFY(!button("BitBtn4")->isEnabled());
        QCOMPARE(edit("Edit1")->text(), QString());
        const QStringList before = f->db.rows(QStringLiteral("SELECT * FROM spivrobitnuku ORDER BY Id"));
        f->clearLog();
        f->click(button("BitBtn4"));
        QCOMPARE(f->statements(), QStringList());
        QCOMPARE(f->db.rows(QStringLiteral("SELECT * FROM spivrobitnuku ORDER BY Id")), before);
        QVERIFY(button("BitBtn1")->isEnabled());
    }

    void editStopsOnAMissingDate()
    {
        f->selectCell(grid(), 2, 1);
        f->click(button("BitBtn2"));
        QCOMPARE(f->messageTexts(), QStringList(QStringLiteral("%1|'' is not a valid date.").arg(applicationTitle())));
        QCOMPARE(f->messages[0].kind, MessageKind::ErrorBox);
        QVERIFY(button("BitBtn1")->isEnabled());
        QVERIFY(!button("BitBtn4")->isEnabled());
    }

    void usageChecks_data()
    {
        QTest::addColumn<QString>("reference");
        QTest::addColumn<bool>("refused");
        QTest::newRow("manages a shop") << QStringLiteral("UPDATE magazunu SET IdSpivrobitnuka=2 WHERE Id=2") << true;
        QTest::newRow("took a receipt") << QStringLiteral("INSERT INTO nadhodgennya VALUES (NULL, 1, 2, '2011-05-13')") << true;
        QTest::newRow("distributed") << QStringLiteral("INSERT INTO rozpodil VALUES (NULL, 1, 2, '2011-05-13')") << true;
        QTest::newRow("handed in revenue") << QStringLiteral("INSERT INTO vurychka VALUES (NULL, 1, 2, 900, '2011-05-13')") << true;
        QTest::newRow("only in base audits") << QStringLiteral("INSERT INTO reviziyabazu VALUES (NULL, 2, 'Наказ 7', '2011-05-13')") << false;
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
            QStringLiteral("SELECT COUNT(*) From magazunu where magazunu.IdSpivrobitnuka=2;"),
            QStringLiteral("SELECT COUNT(*) From nadhodgennya where nadhodgennya.IdSpivrobitnuka=2;"),
            QStringLiteral("SELECT COUNT(*) From rozpodil where rozpodil.IdSpivrobitnuka=2;"),
            QStringLiteral("SELECT COUNT(*) From vurychka where vurychka.IdSpivrobitnuka=2;"),
        };
        if (!refused)
            expected << QStringLiteral("DELETE FROM spivrobitnuku WHERE spivrobitnuku.Id=2;") << Grid;
        QCOMPARE(f->statements(), expected);
        QCOMPARE(f->db.value(QStringLiteral("SELECT COUNT(*) FROM spivrobitnuku WHERE Id=2")), refused ? QStringLiteral("1") : QStringLiteral("0"));
    }

    void filtersReplaceOneAnother()
    {
        choose(control<QComboBox>("ComboBox4"), 2); // Склад
        QCOMPARE(names(), QStringList({QStringLiteral("Кравченко"), QStringLiteral("Олійник")}));
        QCOMPARE(screen->Query1->filter(), QStringLiteral("NazvaViddily='Склад'"));

        // The date filter replaces the department's; the list still shows the department.
        control<DateTimePicker>("DateTimePicker2")->setDate(QDate(2011, 5, 31));
        closeCalendar(control<DateTimePicker>("DateTimePicker1"), QDate(2008, 9, 15));
        QCOMPARE(screen->Query1->filter(), QStringLiteral("DataVlash>='15.09.2008' and DataVlash<='31.05.2011'"));
        QCOMPARE(names(), QStringList({QStringLiteral("Бондаренко"), QStringLiteral("Кравченко"), QStringLiteral("Олійник")}));
        closeCalendar(control<DateTimePicker>("DateTimePicker1"), QDate(2011, 5, 13));
        QCOMPARE(names(), QStringList({QStringLiteral("Кравченко"), QStringLiteral("Олійник")}));
        QCOMPARE(control<QComboBox>("ComboBox4")->currentText(), QStringLiteral("Склад"));

        choose(control<QComboBox>("ComboBox5"), 1); // Центральний
        QCOMPARE(names(), QStringList(QStringLiteral("Бондаренко")));
        choose(control<QComboBox>("ComboBox4"), 0); // "-Всі записи-" ends whichever filter is in force
        QCOMPARE(names().size(), 3);
        QCOMPARE(f->statements(), QStringList()); // all on the client
    }

    // The department and shop filters are applied whenever their list closes, a choice made or not:
    // closing the department list again brings its filter back after the date filter replaced it.
    void listClosingAppliesItsFilterAgain()
    {
        choose(control<QComboBox>("ComboBox4"), 2); // Склад
        closeCalendar(control<DateTimePicker>("DateTimePicker1"), QDate(2011, 5, 13));
        QVERIFY(screen->Query1->filter().startsWith(QStringLiteral("DataVlash>=")));

        dismissList(control<QComboBox>("ComboBox4"));
        QCOMPARE(screen->Query1->filter(), QStringLiteral("NazvaViddily='Склад'"));
        QVERIFY(screen->Query1->filtered());

        choose(control<QComboBox>("ComboBox5"), 1); // Центральний
        QCOMPARE(screen->Query1->filter(), QStringLiteral("NazvaMagazuny='Центральний'"));
        choose(control<QComboBox>("ComboBox4"), 2); // the same department chosen again
        QCOMPARE(screen->Query1->filter(), QStringLiteral("NazvaViddily='Склад'"));
        dismissList(control<QComboBox>("ComboBox5"));
        QCOMPARE(screen->Query1->filter(), QStringLiteral("NazvaMagazuny='Центральний'"));
        QCOMPARE(names(), QStringList(QStringLiteral("Бондаренко")));
        QCOMPARE(f->statements(), QStringList()); // all on the client
    }

    // The client-side filter stays in force when the query is reopened, and combines with a search.
    void filterSurvivesAReopen()
    {
        choose(control<QComboBox>("ComboBox4"), 2); // Склад
        f->selectCell(grid(), 0, 11);
        f->typeIntoDialog(QStringLiteral("Продукти"));
        f->click(button("BitBtn7"));
        QCOMPARE(names(), QStringList({QStringLiteral("Кравченко"), QStringLiteral("Олійник")}));
        screen->close();
        f->reopen(*screen);
        f->click(button("BitBtn9"));
        QCOMPARE(names(), QStringList({QStringLiteral("Кравченко"), QStringLiteral("Олійник")}));
        f->click(button("BitBtn6"));
        QCOMPARE(names().size(), 3);
    }

    // "Id" is a column of all four tables of the join: the search names the employees' own.
    void searchOnTheCodeColumn()
    {
        f->selectCell(grid(), 0, 0);
        f->typeIntoDialog(QStringLiteral("2"));
        f->click(button("BitBtn7"));
        QCOMPARE(f->messages.size(), 0);
        QCOMPARE(f->statements(), QStringList(Grid + QStringLiteral(" AND spivrobitnuku.Id='2'")));
        QCOMPARE(names(), QStringList(QStringLiteral("Кравченко")));
    }

    void keyFilters()
    {
        f->click(button("BitBtn1"));
        QTest::keyClicks(edit("Edit4"), QStringLiteral("30a1-2.3"));
        QCOMPARE(edit("Edit4")->text(), QStringLiteral("30123"));
        QTest::keyClicks(edit("Edit7"), QStringLiteral("12,5,.7"));
        QCOMPARE(edit("Edit7")->text(), QStringLiteral("12.57"));
    }
};

COOP_SCREEN_TEST_MAIN(TestEmployees)
#include "test_employees.moc"
