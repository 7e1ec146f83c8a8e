// The shop audits screen driven through its controls: the exact statements, the lines of the
// current shop, the panel and its checks, refusals without a line, the date filter across shops,
// and the act's guard.
#include "audit/form14.h"
#include "data/database.h"
#include "data/query.h"
#include "support/controls.h"
#include "support/guitestmain.h"
#include "support/messagerecorder.h"
#include "support/screendriving.h"
#include "support/testdatabase.h"
#include "widgets/datetimepicker.h"
#include "widgets/dbgrid.h"
#include "widgets/idcombobox.h"

using namespace coop;

class TestShopAudits : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Database> m_connection;
    std::unique_ptr<TForm14> m_form;
    int m_previews = 0;

    TForm14 &form() { return *m_form; }
    // The statements that change rows, sent since the last call.
    QStringList writes() { return takeWrites(*m_connection); }
    static void type(QWidget *edit, const QString &keys)
    {
        edit->setFocus();
        QTest::keyClicks(edit, keys);
    }
    void selectShop(int id) { QVERIFY(form().Query1->locate(QStringLiteral("Id"), id)); }
    QStringList shownLines()
    {
        QStringList ids;
        const Query &lines = *form().Query2;
        if (lines.active())
            for (int row = 0; row < lines.recordCount(); ++row)
                ids << lines.displayText(row, lines.fieldByName(QStringLiteral("id")));
        ids.sort();
        return ids;
    }
    QString currentLine() { return form().Query2->fieldByName(QStringLiteral("id"))->asString(); }

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_db->exec(QStringLiteral(
            "INSERT INTO magazunu (Id, NazvaMagazuny) VALUES (3, 'Колос'), (5, 'Зоря'), (8, 'Нива');"
            "INSERT INTO tovary (Id, NazvaTovary) VALUES (7, 'Сіль'), (9, 'Цукор');"
            "INSERT INTO reveziyamagazuny (Id, IdMagazuny, IdTovary, Kilkist, CinaRozdribna, Data) VALUES"
            " (41, 3, 9, 2.5, 10, '2026-12-01'), (42, 3, 7, 4, 3.25, '2026-12-05'),"
            " (43, 5, 7, 1, 3, '2026-12-03'), (44, 5, 9, 6, 12, '2026-11-20')"));
        m_connection = std::make_unique<Database>();
        m_form = std::make_unique<TForm14>(*m_connection);
        m_form->create();
        m_previews = 0;
        m_form->reach([this] { ++m_previews; });
        m_form->show();
        m_connection->setStatementLogging(true);
    }
    void cleanup()
    {
        m_form.reset();
        m_connection.reset();
        m_db.reset();
    }

    void linesFollowTheShop()
    {
        selectShop(5);
        QCOMPARE(form().Query2->sql().text(),
                 QStringLiteral("Select reveziyamagazuny.id,  reveziyamagazuny.IdMagazuny,  reveziyamagazuny.IdTovary,  "
                                "reveziyamagazuny.Kilkist,  reveziyamagazuny.CinaRozdribna, reveziyamagazuny.Data, magazunu.id, "
                                "tovary.NazvaTovary\n"
                                "From  reveziyamagazuny, magazunu, tovary\n"
                                "Where reveziyamagazuny.IdMagazuny = magazunu.id AND  reveziyamagazuny.IdTovary = tovary.id\n"
                                "and reveziyamagazuny.Idmagazuny=5"));
        QCOMPARE(m_connection->statementLog(), QStringList{form().Query2->sql().text()});
        QCOMPARE(shownLines(), QStringList({QStringLiteral("43"), QStringLiteral("44")}));
        QCOMPARE(control<coop::DBGrid>(form(), "DBGrid2")->model()->rowCount(), 2);
        QCOMPARE(form().Query2->recNo(), 0);
    }

    void insertLine()
    {
        MessageRecorder messages;
        selectShop(3);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn1"), Qt::LeftButton);
        QCOMPARE(form().tag(), EditMode::Insert);
        QCOMPARE(form().state(), DocumentScreen::State::LineEditing);
        QCOMPARE(control<coop::DateTimePicker>(form(), "DateTimePicker1")->date(), QDate::currentDate());
        QVERIFY(!control<QPushButton>(form(), "BitBtn1")->isEnabled() && control<coop::IdComboBox>(form(), "ComboBox1")->isEnabled() && control<QLabel>(form(), "Label4")->isEnabled());
        choose(control<coop::IdComboBox>(form(), "ComboBox1"), QStringLiteral("7"));
        type(control<QLineEdit>(form(), "Edit1"), QStringLiteral("1a2,"));  // digits only
        type(control<QLineEdit>(form(), "Edit2"), QStringLiteral("15.,5,")); // one comma, no point
        QCOMPARE(control<QLineEdit>(form(), "Edit1")->text(), QStringLiteral("12"));
        QCOMPARE(control<QLineEdit>(form(), "Edit2")->text(), QStringLiteral("15,5"));
        control<coop::DateTimePicker>(form(), "DateTimePicker1")->setDate(QDate(2026, 12, 8));
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn4"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("INSERT INTO reveziyamagazuny (IdTovary,kilkist,Cinarozdribna,Data,IdMagazuny) "
                                       "values ('7','12','15.5','2026-12-08',3)")});
        QCOMPARE(form().state(), DocumentScreen::State::Browsing);
        QCOMPARE(form().Query2->recordCount(), 3);
        QCOMPARE(form().Query2->recNo(), 0);
        QCOMPARE(control<QLineEdit>(form(), "Edit1")->text(), QString());
        QVERIFY(control<coop::IdComboBox>(form(), "ComboBox1")->currentText().isEmpty() && !control<coop::IdComboBox>(form(), "ComboBox1")->isEnabled());
        QVERIFY(messages.requests.isEmpty());
    }

    void updateKeepsTheLineCurrent()
    {
        // What the panel shows for each line of shop 3, and the goods to change it to.
        struct Line { QString goods, quantity, price; QDate date; QString otherGoods; QString sqlPrice; };
        const QMap<QString, Line> lines{{QStringLiteral("41"), {QStringLiteral("Цукор"), QStringLiteral("2,5"), QStringLiteral("10"), QDate(2026, 12, 1), QStringLiteral("7"), QStringLiteral("10")}},
                                        {QStringLiteral("42"), {QStringLiteral("Сіль"), QStringLiteral("4"), QStringLiteral("3,25"), QDate(2026, 12, 5), QStringLiteral("9"), QStringLiteral("3.25")}}};
        MessageRecorder messages;
        selectShop(3);
        form().Query2->setRecNo(1); // off the first row, so that the line found again shows
        const QString id = currentLine();
        const Line line = lines.value(id);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn2"), Qt::LeftButton);
        QCOMPARE(form().tag(), EditMode::Update);
        QCOMPARE(control<coop::IdComboBox>(form(), "ComboBox1")->currentText(), line.goods);
        QCOMPARE(control<QLineEdit>(form(), "Edit1")->text(), line.quantity);
        QCOMPARE(control<QLineEdit>(form(), "Edit2")->text(), line.price);
        QCOMPARE(control<coop::DateTimePicker>(form(), "DateTimePicker1")->date(), line.date);
        choose(control<coop::IdComboBox>(form(), "ComboBox1"), line.otherGoods);
        control<QLineEdit>(form(), "Edit1")->setText(QStringLiteral("007"));
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn4"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("UPDATE reveziyamagazuny Set IdTovary=%1, kilkist='007', cinaRozdribna='%2', "
                                                      "data='%3', IdMagazuny=3 WHERE reveziyamagazuny.Id=%4")
                                           .arg(line.otherGoods, line.sqlPrice, line.date.toString(QStringLiteral("yyyy-MM-dd")), id)});
        QCOMPARE(currentLine(), id); // the line just updated
        QCOMPARE(m_db->rows(QStringLiteral("select IdTovary, Kilkist from reveziyamagazuny where Id=") + id), QStringList{line.otherGoods + QStringLiteral("|7")});
        QVERIFY(messages.requests.isEmpty());
    }

    void fractionalQuantityGoesBackAsItsNumber()
    {
        // Line 41 holds 2,5, counted elsewhere: shown with the decimal comma, and sent back so that
        // the server keeps 2.5 when only the price is changed.
        MessageRecorder messages;
        selectShop(3);
        QVERIFY(form().Query2->locate(QStringLiteral("Id"), 41));
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn2"), Qt::LeftButton);
        QCOMPARE(control<QLineEdit>(form(), "Edit1")->text(), QStringLiteral("2,5"));
        control<QLineEdit>(form(), "Edit2")->setText(QStringLiteral("11"));
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn4"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("UPDATE reveziyamagazuny Set IdTovary=9, kilkist='2.5', cinaRozdribna='11', "
                                       "data='2026-12-01', IdMagazuny=3 WHERE reveziyamagazuny.Id=41")});
        QCOMPARE(m_db->rows(QStringLiteral("select Kilkist, CinaRozdribna from reveziyamagazuny where Id=41")), QStringList{QStringLiteral("2.5|11")});
        QVERIFY(messages.requests.isEmpty());
    }

    void shopWithoutLines()
    {
        selectShop(8);
        QVERIFY(form().Query2->active());
        QCOMPARE(control<coop::DBGrid>(form(), "DBGrid2")->model()->rowCount(), 0);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn1"), Qt::LeftButton);
        choose(control<coop::IdComboBox>(form(), "ComboBox1"), QStringLiteral("9"));
        control<QLineEdit>(form(), "Edit1")->setText(QStringLiteral("3"));
        control<QLineEdit>(form(), "Edit2")->setText(QStringLiteral("1"));
        control<coop::DateTimePicker>(form(), "DateTimePicker1")->setDate(QDate(2026, 12, 9));
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn4"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("INSERT INTO reveziyamagazuny (IdTovary,kilkist,Cinarozdribna,Data,IdMagazuny) "
                                       "values ('9','3','1','2026-12-09',8)")});
        QCOMPARE(m_db->rows(QStringLiteral("select IdTovary, Kilkist from reveziyamagazuny where IdMagazuny=8")), QStringList{QStringLiteral("9|3")});
        QCOMPARE(control<coop::DBGrid>(form(), "DBGrid2")->model()->rowCount(), 1);
    }

    void entryChecks_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("goods");    // an id to choose, or a text typed by hand
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("error");    // the error box's text; empty: the entry-check message
        QTest::newRow("insert: no goods") << 1 << "" << "3" << "1" << "";
        QTest::newRow("insert: goods naming no entry") << 1 << "Сіль йодована" << "3" << "1" << "";
        QTest::newRow("insert: no quantity") << 1 << "7" << "" << "1" << "";
        QTest::newRow("insert: no price") << 1 << "7" << "3" << "" << "";
        QTest::newRow("insert: a lone comma") << 1 << "7" << "3" << "," << "',' is not a valid floating point value.";
        QTest::newRow("update: goods emptied") << 2 << "" << "3" << "1" << "";
        QTest::newRow("update: no price") << 2 << "7" << "3" << "" << "'' is not a valid floating point value.";
    }
    void entryChecks()
    {
        QFETCH(int, mode);
        QFETCH(QString, goods);
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QFETCH(QString, error);
        MessageRecorder messages;
        selectShop(3);
        QTest::mouseClick(mode == 1 ? control<QPushButton>(form(), "BitBtn1") : control<QPushButton>(form(), "BitBtn2"), Qt::LeftButton);
        if (control<coop::IdComboBox>(form(), "ComboBox1")->idList().contains(goods))
            choose(control<coop::IdComboBox>(form(), "ComboBox1"), goods);
        else
            control<coop::IdComboBox>(form(), "ComboBox1")->setEditText(goods);
        control<QLineEdit>(form(), "Edit1")->setText(quantity);
        control<QLineEdit>(form(), "Edit2")->setText(price);
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn4"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList());
        QCOMPARE(messages.requests.size(), 1);
        if (error.isEmpty()) {
            QCOMPARE(messages.requests[0].kind, MessageKind::Box);
            QCOMPARE(messages.requests[0].caption, QStringLiteral("Помилка"));
            QCOMPARE(messages.requests[0].text, QStringLiteral("Введіть дані"));
            QCOMPARE(messages.requests[0].icon, MessageIcon::Exclamation);
        } else {
            QCOMPARE(messages.requests[0].kind, MessageKind::ErrorBox);
            QCOMPARE(messages.requests[0].text, error);
        }
        QCOMPARE(form().state(), DocumentScreen::State::LineEditing); // the panel stays open
        QCOMPARE(control<QLineEdit>(form(), "Edit1")->text(), quantity);
    }

    void nothingToEditOrDelete()
    {
        selectShop(8);
        MessageRecorder messages(mrYes);
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn2"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn3"), Qt::LeftButton);
        QCOMPARE(messages.requests.size(), 2);
        for (const MessageRequest &request : messages.requests)
            QCOMPARE(request.text, QStringLiteral("Не вибрано жодного запису"));
        QCOMPARE(form().state(), DocumentScreen::State::Browsing);
        QCOMPARE(writes(), QStringList());
    }

    void deleteLine_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << int(mrYes);
        QTest::newRow("no") << int(mrNo);
    }
    void deleteLine()
    {
        QFETCH(int, answer);
        selectShop(3);
        form().Query2->setRecNo(1); // the second line, so that the reload shows in the current row
        const QString id = currentLine();
        QStringList after = shownLines();
        if (answer == mrYes)
            after.removeOne(id);
        MessageRecorder messages(answer);
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn3"), Qt::LeftButton);
        QCOMPARE(writes(), answer == mrYes ? QStringList{QStringLiteral("DELETE FROM reveziyamagazuny WHERE reveziyamagazuny.id=") + id + QStringLiteral(";")}
                                           : QStringList());
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests[0].caption, QStringLiteral("Увага!!!"));
        QCOMPARE(messages.requests[0].text, QStringLiteral("Ви дійсно хочете видалити запис?"));
        QCOMPARE(messages.requests[0].icon, MessageIcon::Question);
        QCOMPARE(shownLines(), after);
        QCOMPARE(m_db->value(QStringLiteral("select count(*) from reveziyamagazuny where IdMagazuny=3")), QString::number(after.size()));
        QCOMPARE(form().Query2->recNo(), 0); // reloaded either way
    }

    void dateFilterHoldsAcrossShops()
    {
        selectShop(3);
        control<coop::DateTimePicker>(form(), "DateTimePicker2")->setDate(QDate(2026, 12, 2));
        control<coop::DateTimePicker>(form(), "DateTimePicker3")->setDate(QDate(2026, 12, 31));
        writes();
        emit control<coop::DateTimePicker>(form(), "DateTimePicker2")->closeUp();
        QCOMPARE(form().Query2->filter(), QStringLiteral("Data>='02.12.2026' and Data<='31.12.2026'"));
        QCOMPARE(writes(), QStringList()); // no statement
        QCOMPARE(shownLines(), QStringList{QStringLiteral("42")});
        selectShop(5);
        QCOMPARE(shownLines(), QStringList{QStringLiteral("43")}); // 44 is dated before the range
        control<coop::DateTimePicker>(form(), "DateTimePicker2")->setDate(QDate(2026, 11, 20));
        control<coop::DateTimePicker>(form(), "DateTimePicker3")->setDate(QDate(2026, 11, 20));
        emit control<coop::DateTimePicker>(form(), "DateTimePicker3")->closeUp();
        QCOMPARE(shownLines(), QStringList{QStringLiteral("44")}); // both bounds included
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn7"), Qt::LeftButton);
        QCOMPARE(shownLines(), QStringList({QStringLiteral("43"), QStringLiteral("44")}));
        QCOMPARE(form().Query2->recNo(), 0);
    }

    // The date filter and the act move the current line; an open panel closes with it, so that
    // "Прийняти" cannot write over the line the program made current.
    void programMovesCloseAnOpenPanel_data()
    {
        QTest::addColumn<QString>("move");
        QTest::newRow("date filter") << "date filter";
        QTest::newRow("show all") << "show all";
        QTest::newRow("audit act") << "audit act";
    }
    void programMovesCloseAnOpenPanel()
    {
        QFETCH(QString, move);
        MessageRecorder messages;
        selectShop(5);
        QVERIFY(form().Query2->locate(QStringLiteral("Id"), 44));
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn2"), Qt::LeftButton);
        control<QLineEdit>(form(), "Edit1")->setText(QStringLiteral("99"));
        if (move == QStringLiteral("date filter")) {
            control<DateTimePicker>(form(), "DateTimePicker2")->setDate(QDate(2026, 12, 1));
            control<DateTimePicker>(form(), "DateTimePicker3")->setDate(QDate(2026, 12, 31));
            emit control<DateTimePicker>(form(), "DateTimePicker3")->closeUp();
        } else if (move == QStringLiteral("show all")) {
            QTest::mouseClick(control<QPushButton>(form(), "BitBtn7"), Qt::LeftButton);
        } else {
            QTest::mouseClick(control<QPushButton>(form(), "BitBtn8"), Qt::LeftButton);
        }
        QCOMPARE(form().state(), DocumentScreen::State::Browsing);
        QCOMPARE(control<QLineEdit>(form(), "Edit1")->text(), QString());
        const QStringList before = m_db->rows(QStringLiteral("select * from reveziyamagazuny order by Id"));
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn4"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList());
        QCOMPARE(m_db->rows(QStringLiteral("select * from reveziyamagazuny order by Id")), before);
        QVERIFY(messages.requests.isEmpty());
    }

    void activationAbandonsThePanel()
    {
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn1"), Qt::LeftButton);
        control<QLineEdit>(form(), "Edit1")->setText(QStringLiteral("5"));
        control<coop::DateTimePicker>(form(), "DateTimePicker1")->setDate(QDate(2026, 1, 2));
        form().activate(); // the focus comes back from the act's preview, say
        QCOMPARE(form().state(), DocumentScreen::State::Browsing);
        QCOMPARE(control<QLineEdit>(form(), "Edit1")->text(), QString());
        QCOMPARE(control<coop::DateTimePicker>(form(), "DateTimePicker1")->date(), QDate(2026, 1, 2)); // the audit date is kept
        QCOMPARE(form().tag(), EditMode::Insert);
    }

    void reopensWhatWasClosed()
    {
        // "Роз'єднатися" closes every query; the next activation opens the shops and their lines.
        m_db->exec(QStringLiteral("INSERT INTO magazunu (Id, NazvaMagazuny) VALUES (1, 'Нова')"));
        const int before = form().Query1->recordCount();
        form().activate();
        QCOMPARE(form().Query1->recordCount(), before); // an open query is not re-read
        m_connection->close();
        QVERIFY(!form().Query1->active() && !form().Query2->active());
        form().activate();
        QCOMPARE(form().Query1->recordCount(), before + 1);
        QVERIFY(form().Query2->active());
    }

    void escCancelsThePanel()
    {
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn1"), Qt::LeftButton);
        QTest::keyClick(&form(), Qt::Key_Escape);
        QCOMPARE(form().state(), DocumentScreen::State::Browsing);
        QVERIFY(form().isVisible());
    }

    void auditAct()
    {
        MessageRecorder messages;
        selectShop(8);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn8"), Qt::LeftButton);
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests[0].kind, MessageKind::Plain);
        QCOMPARE(messages.requests[0].text, QStringLiteral("Введіть дані про ревізію"));
        QCOMPARE(m_previews, 0);
        selectShop(3);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn8"), Qt::LeftButton);
        QCOMPARE(m_previews, 1);
        QCOMPARE(messages.requests.size(), 1);
    }
};

COOP_GUI_TEST_MAIN(TestShopAudits)
#include "test_shopaudits.moc"
