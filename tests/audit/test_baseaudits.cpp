// The base audits screen driven through its controls: the exact statements of audits and lines,
// the entry checks, the return position after deleting an audit and the lines it leaves behind,
// refusals without a row, the date filter over the audits, and the act's guard.
#include "audit/form15.h"
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

class TestBaseAudits : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Database> m_connection;
    std::unique_ptr<TForm15> m_form;
    int m_previews = 0;

    TForm15 &form() { return *m_form; }
    QStringList writes() { return takeWrites(*m_connection); }
    static void chooseOrType(IdComboBox *combo, const QString &idOrText)
    {
        if (combo->idList().contains(idOrText))
            choose(combo, idOrText);
        else
            combo->setEditText(idOrText);
    }
    static QStringList ids(const Query &query)
    {
        QStringList out;
        if (query.active())
            for (int row = 0; row < query.recordCount(); ++row)
                out << query.displayText(row, query.fieldByName(QStringLiteral("id")));
        return out;
    }
    QString currentAudit() { return form().Query1->fieldByName(QStringLiteral("id"))->asString(); }
    QString currentLine() { return form().Query3->fieldByName(QStringLiteral("id"))->asString(); }
    void selectAudit(int id) { QVERIFY(form().Query1->locate(QStringLiteral("Id"), id)); }
    void expectOneMessage(const MessageRecorder &messages, const QString &text)
    {
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests[0].kind, MessageKind::Box);
        QCOMPARE(messages.requests[0].caption, QStringLiteral("Помилка"));
        QCOMPARE(messages.requests[0].text, text);
        QCOMPARE(messages.requests[0].icon, MessageIcon::Exclamation);
    }

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_db->exec(QStringLiteral(
            "INSERT INTO spivrobitnuku (Id, PIB) VALUES (4, 'Коваль'), (6, 'Мельник');"
            "INSERT INTO tovary (Id, NazvaTovary) VALUES (7, 'Сіль'), (9, 'Цукор');"
            "INSERT INTO reviziyabazu (Id, IdSpivrobitnuka, Dokyment, DataRevizii) VALUES"
            " (1, 4, 'Наказ 1', '2026-11-30'), (2, 6, 'Наказ 7', '2026-12-08'), (3, 4, 'Розпорядження 3', '2026-12-15'),"
            " (4, 6, 'Акт 4', '2026-12-20');"
            "INSERT INTO pozuciireviziibazu (Id, IdRevizii, IdTovary, Kilkist, Cina) VALUES"
            " (21, 2, 7, 12, 15.5), (22, 2, 9, 2.5, 4), (23, 1, 9, 1, 1), (24, 3, 7, 3, 2)"));
        m_connection = std::make_unique<Database>();
        m_form = std::make_unique<TForm15>(*m_connection);
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

    void linesFollowTheAudit()
    {
        selectAudit(2);
        QCOMPARE(m_connection->statementLog(),
                 QStringList{QStringLiteral("Select pozuciireviziibazu.id, pozuciireviziibazu.IdRevizii, pozuciireviziibazu.Idtovary, "
                             "pozuciireviziibazu.Kilkist, pozuciireviziibazu.Cina, reviziyabazu.id, tovary.NazvaTovary\n"
                             "From pozuciireviziibazu, reviziyabazu, tovary\n"
                             "Where pozuciireviziibazu.IdRevizii = reviziyabazu.id AND pozuciireviziibazu.IdTovary = tovary.Id\n"
                             "and pozuciireviziibazu.IdRevizii=2")});
        QStringList sums;
        const Query &lines = *form().Query3;
        for (int row = 0; row < lines.recordCount(); ++row)
            sums << lines.displayText(row, lines.fieldByName(QStringLiteral("id"))) + QStringLiteral("=") + lines.displayText(row, lines.fieldByName(QStringLiteral("Suma")));
        sums.sort();
        QCOMPARE(sums, QStringList({QStringLiteral("21=186"), QStringLiteral("22=10")})); // 12 × 15,5 and 2,5 × 4
    }

    void auditStatements()
    {
        MessageRecorder messages;
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn1"), Qt::LeftButton);
        QCOMPARE(form().tag(), EditMode::Insert);
        QVERIFY(control<QLineEdit>(form(), "Edit1")->isEnabled() && !control<QLineEdit>(form(), "Edit2")->isEnabled() && !control<QPushButton>(form(), "BitBtn6")->isEnabled());
        choose(control<coop::IdComboBox>(form(), "ComboBox1"), QStringLiteral("4"));
        control<QLineEdit>(form(), "Edit1")->setText(QStringLiteral("Наказ 12"));
        control<coop::DateTimePicker>(form(), "DateTimePicker1")->setDate(QDate(2026, 12, 8));
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn4"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("INSERT INTO reviziyabazu (IdSpivrobitnuka, Dokyment, DataRevizii) values ('4','Наказ 12','2026-12-08')")});
        QCOMPARE(form().Query1->recordCount(), 5);
        QCOMPARE(form().Query1->recNo(), 0);
        QCOMPARE(form().state(), DocumentScreen::State::Browsing);
        QVERIFY(control<QLineEdit>(form(), "Edit1")->text().isEmpty());

        // What the panel shows for each audit.
        struct Audit { QString auditor, document; QDate date; };
        const QMap<QString, Audit> audits{{QStringLiteral("1"), {QStringLiteral("Коваль"), QStringLiteral("Наказ 1"), QDate(2026, 11, 30)}},
                                          {QStringLiteral("2"), {QStringLiteral("Мельник"), QStringLiteral("Наказ 7"), QDate(2026, 12, 8)}},
                                          {QStringLiteral("3"), {QStringLiteral("Коваль"), QStringLiteral("Розпорядження 3"), QDate(2026, 12, 15)}},
                                          {QStringLiteral("4"), {QStringLiteral("Мельник"), QStringLiteral("Акт 4"), QDate(2026, 12, 20)}}};
        selectAudit(3);
        const Audit audit = audits.value(currentAudit());
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn2"), Qt::LeftButton);
        QCOMPARE(form().tag(), EditMode::Update);
        QCOMPARE(control<coop::IdComboBox>(form(), "ComboBox1")->currentText(), audit.auditor);
        QCOMPARE(control<QLineEdit>(form(), "Edit1")->text(), audit.document);
        QCOMPARE(control<coop::DateTimePicker>(form(), "DateTimePicker1")->date(), audit.date);
        choose(control<coop::IdComboBox>(form(), "ComboBox1"), QStringLiteral("6"));
        control<QLineEdit>(form(), "Edit1")->setText(QStringLiteral("Наказ 'О'"));
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn4"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("UPDATE reviziyabazu Set IdSpivrobitnuka=6, dokyment='Наказ ''О''', "
                                       "Datarevizii='2026-12-15' WHERE reviziyabazu.Id=3")});
        QCOMPARE(m_db->rows(QStringLiteral("select IdSpivrobitnuka, Dokyment from reviziyabazu where Id=3")), QStringList{QStringLiteral("6|Наказ 'О'")});
        QVERIFY(messages.requests.isEmpty());
    }

    void auditEntryChecks_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("auditor");
        QTest::addColumn<QString>("document");
        QTest::newRow("insert: no auditor") << 1 << "" << "Наказ 12";
        QTest::newRow("insert: auditor naming no entry") << 1 << "Коваль П." << "Наказ 12";
        QTest::newRow("insert: no document") << 1 << "4" << "";
        QTest::newRow("update: auditor emptied") << 2 << "" << "Наказ 12";
    }
    void auditEntryChecks()
    {
        QFETCH(int, mode);
        QFETCH(QString, auditor);
        QFETCH(QString, document);
        MessageRecorder messages;
        QTest::mouseClick(mode == 1 ? control<QPushButton>(form(), "BitBtn1") : control<QPushButton>(form(), "BitBtn2"), Qt::LeftButton);
        chooseOrType(control<coop::IdComboBox>(form(), "ComboBox1"), auditor);
        control<QLineEdit>(form(), "Edit1")->setText(document);
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn4"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList());
        expectOneMessage(messages, QStringLiteral("Введіть коректні дані"));
        QCOMPARE(form().state(), DocumentScreen::State::HeaderEditing);
        QCOMPARE(control<QLineEdit>(form(), "Edit1")->text(), document);
    }

    void lineStatements()
    {
        MessageRecorder messages;
        selectAudit(2);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn6"), Qt::LeftButton);
        QCOMPARE(form().tag(), EditMode::InsertLine);
        QVERIFY(control<QLineEdit>(form(), "Edit2")->isEnabled() && !control<QLineEdit>(form(), "Edit1")->isEnabled() && !control<QPushButton>(form(), "BitBtn1")->isEnabled());
        choose(control<coop::IdComboBox>(form(), "ComboBox2"), QStringLiteral("7"));
        control<QLineEdit>(form(), "Edit2")->setFocus();
        QTest::keyClicks(control<QLineEdit>(form(), "Edit2"), QStringLiteral("1a2,"));
        control<QLineEdit>(form(), "Edit3")->setFocus();
        QTest::keyClicks(control<QLineEdit>(form(), "Edit3"), QStringLiteral("15.,5,"));
        QCOMPARE(control<QLineEdit>(form(), "Edit2")->text(), QStringLiteral("12"));
        QCOMPARE(control<QLineEdit>(form(), "Edit3")->text(), QStringLiteral("15,5"));
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn9"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("INSERT INTO pozuciireviziibazu (IdTovary,kilkist,Cina,IdRevizii) values ('7','12','15.5',2)")});
        QCOMPARE(form().Query3->recordCount(), 3);
        QCOMPARE(form().Query3->recNo(), 0);

        // The stored fractional quantity of line 22 shows with the decimal comma and goes back as its number.
        QVERIFY(form().Query3->locate(QStringLiteral("Id"), 22));
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn7"), Qt::LeftButton);
        QCOMPARE(form().tag(), EditMode::UpdateLine);
        QCOMPARE(control<coop::IdComboBox>(form(), "ComboBox2")->currentText(), QStringLiteral("Цукор"));
        QCOMPARE(control<QLineEdit>(form(), "Edit2")->text(), QStringLiteral("2,5"));
        QCOMPARE(control<QLineEdit>(form(), "Edit3")->text(), QStringLiteral("4"));
        choose(control<coop::IdComboBox>(form(), "ComboBox2"), QStringLiteral("7"));
        control<QLineEdit>(form(), "Edit3")->setText(QStringLiteral("4,25"));
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn9"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("UPDATE pozuciireviziibazu Set IdTovary=7, kilkist='2.5', cina='4.25', IdRevizii=2 "
                                       "WHERE pozuciireviziibazu.Id=22")});
        QCOMPARE(currentLine(), QStringLiteral("22")); // the line just updated
        QCOMPARE(form().Query3->fieldByName(QStringLiteral("Suma"))->asString(), QStringLiteral("10,625"));
        QCOMPARE(m_db->rows(QStringLiteral("select IdTovary, Kilkist, Cina from pozuciireviziibazu where Id=22")), QStringList{QStringLiteral("7|2.5|4.25")});
        QVERIFY(messages.requests.isEmpty());
    }

    void lineEntryChecks_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("goods");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("error"); // the error box's text; empty: the entry-check message
        QTest::newRow("insert: no goods") << 3 << "" << "3" << "1" << "";
        QTest::newRow("insert: goods naming no entry") << 3 << "Сіль кам'яна" << "3" << "1" << "";
        QTest::newRow("insert: no quantity") << 3 << "7" << "" << "1" << "";
        QTest::newRow("insert: no price") << 3 << "7" << "3" << "" << "";
        QTest::newRow("insert: a lone comma") << 3 << "7" << "3" << "," << "',' is not a valid floating point value.";
        QTest::newRow("update: goods emptied") << 4 << "" << "3" << "1" << "";
    }
    void lineEntryChecks()
    {
        QFETCH(int, mode);
        QFETCH(QString, goods);
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QFETCH(QString, error);
        selectAudit(2);
        MessageRecorder messages;
        QTest::mouseClick(mode == 3 ? control<QPushButton>(form(), "BitBtn6") : control<QPushButton>(form(), "BitBtn7"), Qt::LeftButton);
        chooseOrType(control<coop::IdComboBox>(form(), "ComboBox2"), goods);
        control<QLineEdit>(form(), "Edit2")->setText(quantity);
        control<QLineEdit>(form(), "Edit3")->setText(price);
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn9"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList());
        if (error.isEmpty()) {
            expectOneMessage(messages, QStringLiteral("Введіть дані"));
        } else {
            QCOMPARE(messages.requests.size(), 1);
            QCOMPARE(messages.requests[0].kind, MessageKind::ErrorBox);
            QCOMPARE(messages.requests[0].text, error);
        }
        QCOMPARE(form().state(), DocumentScreen::State::LineEditing);
    }

    void deletingAnAuditLeavesItsLines_data()
    {
        QTest::addColumn<int>("row");         // of the audit deleted
        QTest::addColumn<int>("currentAfter"); // the row, before the delete, of the audit current afterwards
        QTest::newRow("one inside: the next") << 1 << 2;
        QTest::newRow("the last: the one before") << 3 << 2;
    }
    void deletingAnAuditLeavesItsLines()
    {
        QFETCH(int, row);
        QFETCH(int, currentAfter);
        const QStringList before = ids(*form().Query1);
        const QString deleted = before.at(row);
        const QString lines = m_db->value(QStringLiteral("select count(*) from pozuciireviziibazu where IdRevizii=") + deleted);
        form().Query1->setRecNo(row);
        MessageRecorder messages(mrYes);
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn3"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("DELETE from reviziyabazu Where Id=") + deleted});
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests[0].caption, QStringLiteral("Видалення"));
        QCOMPARE(messages.requests[0].text, QStringLiteral("Ви дійсно хочете видалити запис?"));
        QCOMPARE(currentAudit(), before.at(currentAfter));
        QCOMPARE(form().focusWidget(), control<coop::DBGrid>(form(), "DBGrid1"));
        QCOMPARE(m_db->value(QStringLiteral("select count(*) from pozuciireviziibazu where IdRevizii=") + deleted), lines);
    }

    void declinedAuditDelete()
    {
        form().Query1->setRecNo(2);
        const QString current = currentAudit();
        MessageRecorder messages(mrNo);
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn3"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList());
        QCOMPARE(currentAudit(), current);
    }

    void nothingToEditOrDelete()
    {
        selectAudit(4); // an audit without lines
        QVERIFY(form().Query3->isEmpty());
        MessageRecorder messages(mrYes);
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn7"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn8"), Qt::LeftButton);
        // No audit at all: neither an audit to edit or delete nor one for a new line.
        m_db->exec(QStringLiteral("DELETE FROM reviziyabazu"));
        form().Query1->close();
        form().Query1->open();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn2"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn3"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn6"), Qt::LeftButton);
        choose(control<coop::IdComboBox>(form(), "ComboBox2"), QStringLiteral("7"));
        control<QLineEdit>(form(), "Edit2")->setText(QStringLiteral("1"));
        control<QLineEdit>(form(), "Edit3")->setText(QStringLiteral("1"));
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn9"), Qt::LeftButton);
        QCOMPARE(messages.requests.size(), 5);
        for (const MessageRequest &request : messages.requests)
            QCOMPARE(request.text, QStringLiteral("Не вибрано жодного запису"));
        QCOMPARE(writes(), QStringList());
    }

    void dateFilterOverAudits_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QStringList>("audits");
        QTest::newRow("December") << QDate(2026, 12, 1) << QDate(2026, 12, 31) << QStringList{QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")};
        QTest::newRow("one day") << QDate(2026, 11, 30) << QDate(2026, 11, 30) << QStringList{QStringLiteral("1")};
        QTest::newRow("bounds reversed") << QDate(2026, 12, 31) << QDate(2026, 12, 1) << QStringList{};
    }
    void dateFilterOverAudits()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QStringList, audits);
        control<coop::DateTimePicker>(form(), "DateTimePicker2")->setDate(from);
        control<coop::DateTimePicker>(form(), "DateTimePicker3")->setDate(to);
        emit control<coop::DateTimePicker>(form(), "DateTimePicker3")->closeUp();
        QCOMPARE(form().Query1->filter(), QStringLiteral("DataRevizii>='%1' and DataRevizii<='%2'")
                                              .arg(from.toString(QStringLiteral("dd.MM.yyyy")), to.toString(QStringLiteral("dd.MM.yyyy"))));
        QStringList shown = ids(*form().Query1);
        shown.sort();
        QCOMPARE(shown, audits);
        // The lines follow the first audit shown; with none the lines query stays closed.
        QCOMPARE(form().Query3->active(), !audits.isEmpty());
        if (!audits.isEmpty())
            QVERIFY(form().Query3->sql().text().endsWith(QStringLiteral("and pozuciireviziibazu.IdRevizii=") + currentAudit()));
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn13"), Qt::LeftButton);
        QCOMPARE(form().Query1->recordCount(), 4);
    }

    void activationEmptiesThePanels()
    {
        selectAudit(2);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn7"), Qt::LeftButton);
        QVERIFY(!control<QLineEdit>(form(), "Edit2")->text().isEmpty());
        control<coop::DateTimePicker>(form(), "DateTimePicker1")->setDate(QDate(2026, 1, 2));
        form().activate();
        QCOMPARE(form().state(), DocumentScreen::State::Browsing);
        QVERIFY(control<QLineEdit>(form(), "Edit2")->text().isEmpty() && control<QLineEdit>(form(), "Edit3")->text().isEmpty() && control<coop::IdComboBox>(form(), "ComboBox2")->currentText().isEmpty());
        QCOMPARE(control<coop::DateTimePicker>(form(), "DateTimePicker1")->date(), QDate::currentDate());
    }

    void escDoesNothing()
    {
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn1"), Qt::LeftButton);
        QTest::keyClick(&form(), Qt::Key_Escape);
        QCOMPARE(form().state(), DocumentScreen::State::HeaderEditing);
        QVERIFY(form().isVisible());
    }

    void auditAct()
    {
        MessageRecorder messages;
        selectAudit(4);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn12"), Qt::LeftButton);
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests[0].kind, MessageKind::Plain);
        QCOMPARE(messages.requests[0].text, QStringLiteral("Введіть дані про ревізію"));
        QCOMPARE(m_previews, 0);
        selectAudit(2);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn12"), Qt::LeftButton);
        QCOMPARE(m_previews, 1);
    }
};

COOP_GUI_TEST_MAIN(TestBaseAudits)
#include "test_baseaudits.moc"
