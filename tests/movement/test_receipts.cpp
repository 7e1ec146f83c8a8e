// The goods receipts screen driven through its controls: the exact statements, what is current
// after each button, the panels and their states, the date filter, the document sum, and posting
// to the base warehouse all or nothing.
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/query.h"
#include "ledger/stockcheck.h"
#include "movement/form7.h"
#include "stock/form12.h"
#include "support/controls.h"
#include "support/guitestmain.h"
#include "support/messagerecorder.h"
#include "support/screendriving.h"
#include "support/testdatabase.h"
#include "widgets/datetimepicker.h"
#include "widgets/dbgrid.h"

using namespace coop;

class TestReceipts : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Database> m_connection;
    std::unique_ptr<TForm7> m_form;
    std::unique_ptr<TForm12> m_stock;

    TForm7 &form() { return *m_form; }
    QStringList log() const { return m_connection->statementLog(); }
    QStringList writes() { return takeWrites(*m_connection); }
    QString currentHeader() { return form().Query1->fieldByName(QStringLiteral("id"))->asString(); }
    QString currentLine() { return form().Query3->fieldByName(QStringLiteral("id"))->asString(); }
    static void type(QWidget *edit, const QString &keys)
    {
        edit->setFocus();
        QTest::keyClicks(edit, keys);
    }

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_db->exec(QStringLiteral(
            "INSERT INTO postachalnuku (Id, NazvaPostachalnuka) VALUES (1, 'Зоря'), (3, 'Хлібзавод');"
            "INSERT INTO spivrobitnuku (Id, PIB) VALUES (2, 'Іваненко'), (7, 'Петренко');"
            "INSERT INTO tovary (Id, NazvaTovary) VALUES (4, 'Сіль'), (5, 'Цукор'), (6, 'Олія');"
            "INSERT INTO nadhodgennya VALUES (10, 1, 2, '2011-05-10'), (11, 3, 7, '2011-05-11'), (12, 1, 7, '2011-05-12');"
            "INSERT INTO chonadishlo (Id, IdTovary, IdNadhodgennya, Kilkist, Cina) VALUES"
            " (40, 5, 12, 10, 12.5), (41, 4, 12, 3, 2.55), (42, 6, 11, 1, 1), (43, 5, 10, 2, 1);"
            "INSERT INTO baza VALUES (1, 4, 30)"));
        m_connection = std::make_unique<Database>();
        m_form = std::make_unique<TForm7>(*m_connection);
        m_stock = std::make_unique<TForm12>(*m_connection);
        m_form->create();
        m_stock->create();
        m_form->reach(*m_stock, nullptr);
        m_form->show();
        m_connection->setStatementLogging(true);
    }
    void cleanup()
    {
        m_form.reset();
        m_stock.reset();
        m_connection.reset();
        m_db.reset();
    }

    void headerStatements()
    {
        MessageRecorder messages;
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn1"), Qt::LeftButton);
        QCOMPARE(form().tag(), EditMode::Insert);
        QVERIFY(control<coop::IdComboBox>(form(), "ComboBox1")->isEnabled() && !control<QPushButton>(form(), "BitBtn1")->isEnabled() && !control<QPushButton>(form(), "BitBtn6")->isEnabled());
        choose(control<coop::IdComboBox>(form(), "ComboBox1"), QStringLiteral("3"));
        choose(control<coop::IdComboBox>(form(), "ComboBox2"), QStringLiteral("7"));
        control<coop::DateTimePicker>(form(), "DateTimePicker1")->setDate(QDate(2011, 5, 23));
        m_connection->clearStatementLog();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn4"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("INSERT INTO nadhodgennya (IdPostachalnuka, IdSpivrobitnuka, DataNadhodgenya) values ('3','7','2011-05-23')")});
        QCOMPARE(currentHeader(), QStringLiteral("10")); // the first header, not the one just written
        QVERIFY(control<QPushButton>(form(), "BitBtn1")->isEnabled() && !control<coop::IdComboBox>(form(), "ComboBox1")->isEnabled());

        form().Query1->locate(QStringLiteral("Id"), 12);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn2"), Qt::LeftButton);
        QCOMPARE(control<coop::IdComboBox>(form(), "ComboBox1")->currentText(), QStringLiteral("Зоря"));
        QCOMPARE(control<coop::DateTimePicker>(form(), "DateTimePicker1")->date(), QDate(2011, 5, 12));
        choose(control<coop::IdComboBox>(form(), "ComboBox1"), QStringLiteral("3"));
        control<coop::DateTimePicker>(form(), "DateTimePicker1")->setDate(QDate(2011, 3, 5));
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn4"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("UPDATE nadhodgennya Set IdPostachalnuka=3, IdSpivrobitnuka=7, DataNadhodgenya='2011-03-05' WHERE nadhodgennya.Id=12")});
        QVERIFY(messages.requests.isEmpty());
    }

    void headerEntryChecks_data()
    {
        QTest::addColumn<QString>("supplierText");
        QTest::newRow("nothing chosen") << "";
        QTest::newRow("typed text that names no entry") << "Хлібзавод №2";
    }
    void headerEntryChecks()
    {
        QFETCH(QString, supplierText);
        MessageRecorder messages;
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn1"), Qt::LeftButton);
        control<coop::IdComboBox>(form(), "ComboBox1")->setEditText(supplierText);
        choose(control<coop::IdComboBox>(form(), "ComboBox2"), QStringLiteral("7"));
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn4"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList());
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests[0].caption, QStringLiteral("Помилка"));
        QCOMPARE(messages.requests[0].text, QStringLiteral("Введіть коректні дані"));
        QCOMPARE(messages.requests[0].icon, MessageIcon::Exclamation);
        QCOMPARE(form().state(), DocumentScreen::State::HeaderEditing); // the panel stays open
        QCOMPARE(control<coop::IdComboBox>(form(), "ComboBox2")->currentText(), QStringLiteral("Петренко"));
    }

    void lineStatementsAndCurrentRows()
    {
        MessageRecorder messages;
        form().Query1->locate(QStringLiteral("Id"), 12);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn6"), Qt::LeftButton);
        QCOMPARE(form().tag(), EditMode::InsertLine);
        choose(control<coop::IdComboBox>(form(), "ComboBox3"), QStringLiteral("5"));
        type(control<QLineEdit>(form(), "Edit1"), QStringLiteral("1a0."));   // digits only
        type(control<QLineEdit>(form(), "Edit2"), QStringLiteral("12,5,.")); // one comma
        QCOMPARE(control<QLineEdit>(form(), "Edit1")->text(), QStringLiteral("10"));
        QCOMPARE(control<QLineEdit>(form(), "Edit2")->text(), QStringLiteral("12,5"));
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn9"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("INSERT INTO chonadishlo (IdTovary,kilkist,Cina,IdNadhodgennya) values ('5','10','12.5',12)")});
        QCOMPARE(form().Query3->recNo(), 0); // the first line

        form().Query3->locate(QStringLiteral("Id"), 41);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn7"), Qt::LeftButton);
        QCOMPARE(control<coop::IdComboBox>(form(), "ComboBox3")->currentText(), QStringLiteral("Сіль"));
        QCOMPARE(control<QLineEdit>(form(), "Edit1")->text(), QStringLiteral("3"));
        QCOMPARE(control<QLineEdit>(form(), "Edit2")->text(), QStringLiteral("2,55"));
        control<QLineEdit>(form(), "Edit1")->setText(QStringLiteral("007"));
        control<QLineEdit>(form(), "Edit2")->setText(QStringLiteral("12"));
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn9"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("UPDATE chonadishlo Set IdTovary=4, kilkist='007', cina='12', IdNadhodgennya=12 WHERE chonadishlo.Id=41")});
        QCOMPARE(currentLine(), QStringLiteral("41")); // the line just updated

        messages.requests.clear();
        const MessageRecorder yes(mrYes);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn8"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("DELETE FROM chonadishlo WHERE chonadishlo.id=41;")});
        QCOMPARE(yes.requests.first().caption, QStringLiteral("Увага!!!"));
        QCOMPARE(form().Query3->recNo(), 0);
    }

    void declinedLineDeleteReloads()
    {
        form().Query1->locate(QStringLiteral("Id"), 12);
        form().Query3->setRecNo(1);
        const MessageRecorder no(mrNo);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn8"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList());
        QCOMPARE(form().Query3->recNo(), 0); // reloaded: the first line again
    }

    void lineEntryChecks()
    {
        MessageRecorder messages;
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn6"), Qt::LeftButton);
        choose(control<coop::IdComboBox>(form(), "ComboBox3"), QStringLiteral("5"));
        control<QLineEdit>(form(), "Edit1")->setText(QStringLiteral("3"));
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn9"), Qt::LeftButton); // no price
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests[0].text, QStringLiteral("Введіть дані"));
        control<QLineEdit>(form(), "Edit2")->setText(QStringLiteral(","));
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn9"), Qt::LeftButton); // a lone comma is no number
        QCOMPARE(messages.requests.size(), 2);
        QCOMPARE(messages.requests[1].kind, MessageKind::ErrorBox);
        QCOMPARE(messages.requests[1].text, QStringLiteral("',' is not a valid floating point value."));
        QCOMPARE(writes(), QStringList());
        QCOMPARE(form().state(), DocumentScreen::State::LineEditing);
    }

    void headerDeleteReturnPosition_data()
    {
        QTest::addColumn<int>("deleted");
        QTest::addColumn<QString>("currentAfter");
        QTest::newRow("middle: the next one") << 11 << "12";
        QTest::newRow("last: the one before") << 12 << "11";
    }
    void headerDeleteReturnPosition()
    {
        QFETCH(int, deleted);
        QFETCH(QString, currentAfter);
        const MessageRecorder yes(mrYes);
        form().Query1->locate(QStringLiteral("Id"), deleted);
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn3"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("DELETE from nadhodgennya Where Id=%1").arg(deleted)});
        QCOMPARE(yes.requests.first().caption, QStringLiteral("Видалення"));
        QCOMPARE(currentHeader(), currentAfter);
        // Its lines stay in their table.
        QVERIFY(m_db->value(QStringLiteral("select count(*) from chonadishlo where IdNadhodgennya=%1").arg(deleted)).toInt() > 0);
    }

    void deletingTheOnlyHeader()
    {
        m_db->exec(QStringLiteral("DELETE FROM nadhodgennya WHERE Id <> 12"));
        form().Query1->close();
        form().Query1->open();
        const MessageRecorder yes(mrYes);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn3"), Qt::LeftButton);
        QVERIFY(form().Query1->isEmpty());
        // The scroll handler did not run for the empty result: the lines grid keeps what it showed.
        QCOMPARE(control<coop::DBGrid>(form(), "DBGrid2")->model()->rowCount(), 2);
    }

    // Until a header is current the lines query holds its stored text; the first header replaces
    // it by the rebuilt one with the header's condition.
    void linesTextBeforeAndAfterTheFirstRebuild()
    {
        const QStringList stored = {
            QStringLiteral("Select chonadishlo.id, chonadishlo.IdTovary, chonadishlo.IdNadhodgennya, chonadishlo.Kilkist, "
                           "chonadishlo.Cina, nadhodgennya.id, tovary.NazvaTovary"),
            QStringLiteral("From chonadishlo, nadhodgennya, tovary"),
            QStringLiteral("Where chonadishlo.IdTovary = Tovary.Id AND chonadishlo.Idnadhodgennya = nadhodgennya.Id"),
        };
        m_db->exec(QStringLiteral("DELETE FROM nadhodgennya"));
        TForm7 fresh(*m_connection);
        fresh.create();
        QCOMPARE(fresh.Query3->sql().text(), stored.join(u'\n'));

        QStringList rebuilt = stored;
        rebuilt[0].replace(QStringLiteral("chonadishlo.IdNadhodgennya"), QStringLiteral("chonadishlo.idNadhodgennya"));
        rebuilt << QStringLiteral("and chonadishlo.IdNadhodgennya=") + currentHeader();
        QCOMPARE(form().Query3->sql().text(), rebuilt.join(u'\n'));
    }

    void nothingToEditOrDelete()
    {
        m_db->exec(QStringLiteral("DELETE FROM chonadishlo WHERE IdNadhodgennya = 10"));
        form().Query1->locate(QStringLiteral("Id"), 10);
        QVERIFY(form().Query3->isEmpty());
        MessageRecorder messages;
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn7"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn8"), Qt::LeftButton);
        QCOMPARE(messages.requests.size(), 2);
        QCOMPARE(messages.requests[0].text, QStringLiteral("Не вибрано жодного запису"));
        QCOMPARE(form().state(), DocumentScreen::State::Browsing);
        QCOMPARE(writes(), QStringList());
    }

    void activationAbandonsAnOpenPanel()
    {
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn6"), Qt::LeftButton);
        control<QLineEdit>(form(), "Edit1")->setText(QStringLiteral("5"));
        QCOMPARE(form().state(), DocumentScreen::State::LineEditing);
        form().activate(); // the focus comes back from the stock screen, say
        QCOMPARE(form().state(), DocumentScreen::State::Browsing);
        QCOMPARE(control<QLineEdit>(form(), "Edit1")->text(), QString());
        QCOMPARE(form().tag(), EditMode::InsertLine); // the edit mode stays
    }

    // Whatever the program moves (posting reloads the receipts, the sum and printing walk the lines,
    // the filter picks the first header that passes), an open panel closes as activation closes it:
    // its "Прийняти" can no longer write over a row the clerk did not choose.
    void programMovesCloseAnOpenPanel_data()
    {
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("move");
        for (const char *panel : {"line edit", "line add", "header edit"})
            for (const char *move : {"posting", "document sum", "date filter", "show all", "invoice"})
                QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(panel), QLatin1String(move)))) << QString::fromLatin1(panel) << QString::fromLatin1(move);
    }
    void programMovesCloseAnOpenPanel()
    {
        QFETCH(QString, panel);
        QFETCH(QString, move);
        MessageRecorder messages;
        m_form->reach(*m_stock, [] {});
        const QString receipts = QStringLiteral("select * from nadhodgennya order by Id");
        const QString lines = QStringLiteral("select * from chonadishlo order by Id");
        const QStringList receiptsBefore = m_db->rows(receipts), linesBefore = m_db->rows(lines);

        form().Query1->locate(QStringLiteral("Id"), 12);
        form().Query3->locate(QStringLiteral("Id"), 40);
        if (panel == QStringLiteral("line edit")) {
            QTest::mouseClick(control<QPushButton>(form(), "BitBtn7"), Qt::LeftButton);
            control<QLineEdit>(form(), "Edit1")->setText(QStringLiteral("99"));
        } else if (panel == QStringLiteral("line add")) {
            QTest::mouseClick(control<QPushButton>(form(), "BitBtn6"), Qt::LeftButton);
            choose(control<IdComboBox>(form(), "ComboBox3"), QStringLiteral("6"));
            control<QLineEdit>(form(), "Edit1")->setText(QStringLiteral("99"));
            control<QLineEdit>(form(), "Edit2")->setText(QStringLiteral("1"));
        } else {
            QTest::mouseClick(control<QPushButton>(form(), "BitBtn2"), Qt::LeftButton);
            choose(control<IdComboBox>(form(), "ComboBox1"), QStringLiteral("3"));
        }
        QVERIFY(form().state() != DocumentScreen::State::Browsing);

        if (move == QStringLiteral("posting")) {
            QTest::mouseClick(control<QPushButton>(form(), "BitBtn13"), Qt::LeftButton);
        } else if (move == QStringLiteral("document sum")) {
            QTest::mouseClick(control<QPushButton>(form(), "BitBtn15"), Qt::LeftButton);
        } else if (move == QStringLiteral("date filter")) {
            control<DateTimePicker>(form(), "DateTimePicker2")->setDate(QDate(2011, 5, 10));
            control<DateTimePicker>(form(), "DateTimePicker3")->setDate(QDate(2011, 5, 12));
            emit control<DateTimePicker>(form(), "DateTimePicker3")->closeUp();
        } else if (move == QStringLiteral("show all")) {
            QTest::mouseClick(control<QPushButton>(form(), "BitBtn11"), Qt::LeftButton);
        } else {
            QTest::mouseClick(control<QPushButton>(form(), "BitBtn17"), Qt::LeftButton);
        }
        if (panel == QStringLiteral("header edit") && (move == QStringLiteral("document sum") || move == QStringLiteral("invoice"))) {
            // Only the lines moved: the header being edited is still the current one.
            QCOMPARE(form().state(), DocumentScreen::State::HeaderEditing);
            QCOMPARE(currentHeader(), QStringLiteral("12"));
            return;
        }
        QCOMPARE(form().state(), DocumentScreen::State::Browsing);
        QCOMPARE(control<QLineEdit>(form(), "Edit1")->text(), QString());
        QCOMPARE(control<IdComboBox>(form(), "ComboBox1")->currentText(), QString());

        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn9"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn4"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList());
        QCOMPARE(m_db->rows(receipts), receiptsBefore);
        QCOMPARE(m_db->rows(lines), linesBefore);
        QVERIFY(messages.requests.isEmpty());
    }

    // The clerk's own move keeps the panel: an update applies to the row current at that moment.
    void theClerksMoveKeepsThePanel()
    {
        form().Query1->locate(QStringLiteral("Id"), 12);
        form().Query3->locate(QStringLiteral("Id"), 40);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn7"), Qt::LeftButton);
        form().Query3->locate(QStringLiteral("Id"), 41);
        QCOMPARE(form().state(), DocumentScreen::State::LineEditing);
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn9"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList{QStringLiteral("UPDATE chonadishlo Set IdTovary=5, kilkist='10', cina='12.5', IdNadhodgennya=12 WHERE chonadishlo.Id=41")});
    }

    // Once the server has taken the row, a reload that fails shows its error and closes the panel all
    // the same: a second "Прийняти" cannot write the row again.
    void aFailedReloadClosesThePanel_data()
    {
        QTest::addColumn<bool>("header");
        QTest::addColumn<QString>("reload");
        QTest::newRow("header insert") << true << "Select nadhodgennya.id";
        QTest::newRow("line insert") << false << "Select chonadishlo.id";
    }
    void aFailedReloadClosesThePanel()
    {
        QFETCH(bool, header);
        QFETCH(QString, reload);
        MessageRecorder messages;
        form().Query1->locate(QStringLiteral("Id"), 12);
        QAbstractButton *accept = header ? control<QPushButton>(form(), "BitBtn4") : control<QPushButton>(form(), "BitBtn9");
        if (header) {
            QTest::mouseClick(control<QPushButton>(form(), "BitBtn1"), Qt::LeftButton);
            choose(control<IdComboBox>(form(), "ComboBox1"), QStringLiteral("3"));
            choose(control<IdComboBox>(form(), "ComboBox2"), QStringLiteral("7"));
        } else {
            QTest::mouseClick(control<QPushButton>(form(), "BitBtn6"), Qt::LeftButton);
            choose(control<IdComboBox>(form(), "ComboBox3"), QStringLiteral("6"));
            control<QLineEdit>(form(), "Edit1")->setText(QStringLiteral("7"));
            control<QLineEdit>(form(), "Edit2")->setText(QStringLiteral("1"));
        }
        m_connection->setStatementObserver([reload](const QString &statement) {
            if (statement.startsWith(reload))
                throw DatabaseError(QStringLiteral("Lost connection to server during query"), 2013);
        });
        writes();
        QTest::mouseClick(accept, Qt::LeftButton);
        m_connection->setStatementObserver({});
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests[0].kind, MessageKind::ErrorBox);
        QCOMPARE(form().state(), DocumentScreen::State::Browsing);
        QTest::mouseClick(accept, Qt::LeftButton);
        QCOMPARE(writes().size(), 1);
        QCOMPARE(m_db->value(header ? QStringLiteral("select count(*) from nadhodgennya where IdPostachalnuka=3")
                                    : QStringLiteral("select count(*) from chonadishlo where IdTovary=6")),
                 QStringLiteral("2")); // the one there before and the one just written
    }

    void escPressesTheEnabledCancel()
    {
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn1"), Qt::LeftButton);
        QTest::keyClick(&form(), Qt::Key_Escape);
        QCOMPARE(form().state(), DocumentScreen::State::Browsing);
        QVERIFY(form().isVisible());
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn6"), Qt::LeftButton);
        QTest::keyClick(&form(), Qt::Key_Escape);
        QCOMPARE(form().state(), DocumentScreen::State::Browsing);
    }

    void dateFilter_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QStringList>("headers");
        QTest::newRow("range") << QDate(2011, 5, 11) << QDate(2011, 5, 12) << QStringList{QStringLiteral("11"), QStringLiteral("12")};
        QTest::newRow("one day") << QDate(2011, 5, 10) << QDate(2011, 5, 10) << QStringList{QStringLiteral("10")};
        QTest::newRow("bounds reversed") << QDate(2011, 5, 12) << QDate(2011, 5, 10) << QStringList{};
    }
    void dateFilter()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QStringList, headers);
        control<coop::DateTimePicker>(form(), "DateTimePicker2")->setDate(from);
        control<coop::DateTimePicker>(form(), "DateTimePicker3")->setDate(to);
        writes();
        emit control<coop::DateTimePicker>(form(), "DateTimePicker3")->closeUp();
        QCOMPARE(form().Query1->filter(), QStringLiteral("DataNadhodgenya>='%1' and DataNadhodgenya<='%2'")
                                              .arg(from.toString(QStringLiteral("dd.MM.yyyy")), to.toString(QStringLiteral("dd.MM.yyyy"))));
        QStringList shown;
        for (int row = 0; row < form().Query1->recordCount(); ++row)
            shown << form().Query1->displayText(row, form().Query1->fieldByName(QStringLiteral("id")));
        QCOMPARE(shown, headers);
        QCOMPARE(form().Query3->active(), !headers.isEmpty());
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn11"), Qt::LeftButton);
        QCOMPARE(form().Query1->recordCount(), 3);
        QCOMPARE(currentHeader(), QStringLiteral("10"));
        QCOMPARE(form().Query1->filter().isEmpty(), false); // the expression is kept
    }

    void documentSum()
    {
        form().Query1->locate(QStringLiteral("Id"), 12);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn15"), Qt::LeftButton);
        QCOMPARE(control<QLineEdit>(form(), "Edit3")->text(), QStringLiteral("132,65")); // 10 × 12,5 + 3 × 2,55
        QCOMPARE(form().Query3->recNo(), 1); // the last line stands current
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn16"), Qt::LeftButton);
        QCOMPARE(control<QLineEdit>(form(), "Edit3")->text(), QString());
        m_db->exec(QStringLiteral("DELETE FROM chonadishlo WHERE IdNadhodgennya = 10"));
        form().Query1->locate(QStringLiteral("Id"), 11);
        form().Query1->locate(QStringLiteral("Id"), 10);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn15"), Qt::LeftButton);
        QCOMPARE(control<QLineEdit>(form(), "Edit3")->text(), QStringLiteral("0"));
    }

    void posting()
    {
        // Receipt 11 has one line, goods 6, not yet in the base: counted, then inserted.
        form().Query1->locate(QStringLiteral("Id"), 11);
        m_connection->clearStatementLog();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn13"), Qt::LeftButton);
        // The posting's own statements, in their order, and the journal's around them.
        QCOMPARE(maskedTokens(log()),
                 QStringList({JournalExists, journalLastMove(11, QStringLiteral("надходження")), QStringLiteral("START TRANSACTION"),
                              QStringLiteral("Select (count(`Id`)) as 'cnt' from `baza`\nwhere (`IdTovary`=6);"),
                              QStringLiteral("insert into `baza` values (NULL,6,1);"),
                              QStringLiteral("SELECT IdTovary, KilkistNaBazi FROM baza WHERE IdTovary IN (6)"),
                              journalInsert({QStringLiteral("(NOW(6),SUBSTRING_INDEX(USER(),'@',1),'надходження',11,6,NULL,1,1,<command>)")}),
                              QStringLiteral("COMMIT"), form().Query1->sql().text(), form().Query3->sql().text(), m_stock->Query1->sql().text()}));
        // Posted again, once the clerk said so: the stock grows again, by an update this time.
        form().Query1->locate(QStringLiteral("Id"), 11);
        m_connection->clearStatementLog();
        MessageRecorder yes(mrYes);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn13"), Qt::LeftButton);
        QCOMPARE(yes.requests.size(), 1);
        QCOMPARE(log().mid(3, 2), QStringList({QStringLiteral("Select (count(`Id`)) as 'cnt' from `baza`\nwhere (`IdTovary`=6);"),
                                               QStringLiteral("Update baza SET KilkistNaBazi=KilkistNaBazi+('1') where IdTovary=6")}));
        QCOMPARE(m_db->value(QStringLiteral("select KilkistNaBazi from baza where IdTovary=6")), QStringLiteral("2"));

        // Receipt 12: goods 4 held at 30 gets 3; new goods 5 comes on two lines, 10 and 5.
        m_db->exec(QStringLiteral("INSERT INTO chonadishlo (Id, IdTovary, IdNadhodgennya, Kilkist, Cina) VALUES (44, 5, 12, 5, 12)"));
        form().Query1->locate(QStringLiteral("Id"), 12);
        form().Query3->setRecNo(2); // the current line does not matter: posting starts from the first
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn13"), Qt::LeftButton);
        QCOMPARE(m_db->rows(QStringLiteral("select IdTovary, KilkistNaBazi from baza order by IdTovary")),
                 QStringList({QStringLiteral("4|33"), QStringLiteral("5|15"), QStringLiteral("6|2")}));
        QCOMPARE(currentHeader(), QStringLiteral("10")); // the first receipt, whichever was posted
        QCOMPARE(m_stock->Query1->recordCount(), 3);      // the stock screen shows the new rows
    }

    void postingWritesTheJournal()
    {
        // Receipt 12: goods 5 (new) on two lines, goods 4 held at 30.
        m_db->exec(QStringLiteral("INSERT INTO chonadishlo (Id, IdTovary, IdNadhodgennya, Kilkist, Cina) VALUES (44, 5, 12, 5, 12)"));
        m_db->upgradeJournal();
        form().Query1->locate(QStringLiteral("Id"), 12);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn13"), Qt::LeftButton);
        QCOMPARE(m_db->journal(), QStringList({QStringLiteral("надходження|12|4|NULL|3|33"), QStringLiteral("надходження|12|5|NULL|10|10"), QStringLiteral("надходження|12|5|NULL|5|15")}));
        // One command: one token, one moment, the connection's user.
        QCOMPARE(m_db->value(QStringLiteral("SELECT COUNT(DISTINCT Komanda, Moment, Korystuvach) FROM ruhtovariv WHERE VydDokumenta = 'надходження'")),
                 QStringLiteral("1"));
        QCOMPARE(m_db->value(QStringLiteral("SELECT Korystuvach FROM ruhtovariv WHERE VydDokumenta = 'надходження'")), QStringLiteral("root"));
        QVERIFY(compareStockWithJournal(*m_connection).mismatches.empty());

        // A posting that fails leaves no journal row behind.
        m_db->exec(QStringLiteral("CREATE TRIGGER closed BEFORE UPDATE ON baza FOR EACH ROW "
                                  "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Склад зачинено'"));
        MessageRecorder messages(mrYes);
        form().Query1->locate(QStringLiteral("Id"), 12);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn13"), Qt::LeftButton);
        QCOMPARE(messages.requests.last().kind, MessageKind::ErrorBox);
        QCOMPARE(m_db->journal().size(), 3);
        QVERIFY(compareStockWithJournal(*m_connection).mismatches.empty());
    }

    void secondPostingAsks_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("No writes nothing") << int(mrNo);
        QTest::newRow("Yes posts again") << int(mrYes);
    }
    void secondPostingAsks()
    {
        QFETCH(int, answer);
        // Receipt 11 has not been posted: no question.
        form().Query1->locate(QStringLiteral("Id"), 11);
        {
            MessageRecorder none;
            QTest::mouseClick(control<QPushButton>(form(), "BitBtn13"), Qt::LeftButton);
            QVERIFY(none.requests.isEmpty());
        }
        const QString when = m_db->value(QStringLiteral("SELECT DATE_FORMAT(MAX(Moment), '%d.%m.%Y %H:%i:%s') FROM ruhtovariv"));
        form().Query1->locate(QStringLiteral("Id"), 11);
        m_connection->clearStatementLog();
        MessageRecorder messages(answer);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn13"), Qt::LeftButton);
        QCOMPARE(messages.requests.size(), 1);
        const MessageRequest &question = messages.requests[0];
        QCOMPARE(question.kind, MessageKind::Box);
        QCOMPARE(question.caption, QStringLiteral("Увага!!!"));
        QCOMPARE(question.text, QStringLiteral("Це надходження вже оприбутковане на склад %1. Оприбуткувати ще раз?").arg(when));
        QCOMPARE(question.buttons, MessageButton::Yes | MessageButton::No);
        QCOMPARE(question.icon, MessageIcon::Question);
        QCOMPARE(question.defaultButton, std::optional(MessageButton::No));
        if (answer == mrNo) {
            QCOMPARE(writes(), QStringList()); // asked before anything was written
            QCOMPARE(m_db->value(QStringLiteral("select KilkistNaBazi from baza where IdTovary=6")), QStringLiteral("1"));
            QCOMPARE(m_db->journal().size(), 1);
        } else {
            QCOMPARE(m_db->value(QStringLiteral("select KilkistNaBazi from baza where IdTovary=6")), QStringLiteral("2"));
            QCOMPARE(m_db->journal(), QStringList({QStringLiteral("надходження|11|6|NULL|1|1"), QStringLiteral("надходження|11|6|NULL|1|2")}));
        }
    }

    void postingWithoutJournal()
    {
        // A database made before the journal: posting twice works as it always did, and asks nothing.
        m_db->exec(QStringLiteral("DROP TABLE ruhtovariv"));
        MessageRecorder messages;
        for (const QString &change : {QStringLiteral("insert into `baza` values (NULL,6,1);"),
                                      QStringLiteral("Update baza SET KilkistNaBazi=KilkistNaBazi+('1') where IdTovary=6")}) {
            form().Query1->locate(QStringLiteral("Id"), 11);
            m_connection->clearStatementLog();
            QTest::mouseClick(control<QPushButton>(form(), "BitBtn13"), Qt::LeftButton);
            QCOMPARE(log().mid(0, 5), QStringList({JournalExists, QStringLiteral("START TRANSACTION"),
                                                   QStringLiteral("Select (count(`Id`)) as 'cnt' from `baza`\nwhere (`IdTovary`=6);"), change, QStringLiteral("COMMIT")}));
        }
        QVERIFY(messages.requests.isEmpty());
        QCOMPARE(m_db->value(QStringLiteral("select KilkistNaBazi from baza where IdTovary=6")), QStringLiteral("2"));
    }

    void postingIsAllOrNothing()
    {
        // Triggers refuse the third change of the session's stock, whichever goods it is: two lines are
        // posted by then, and must be undone with it.
        m_db->exec(QStringLiteral(
            "INSERT INTO chonadishlo (Id, IdTovary, IdNadhodgennya, Kilkist, Cina) VALUES (45, 6, 12, 2, 1);"
            "CREATE TRIGGER third_insert BEFORE INSERT ON baza FOR EACH ROW "
            "IF (@changes := IFNULL(@changes, 0) + 1) = 3 THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Склад зачинено'; END IF;"
            "CREATE TRIGGER third_update BEFORE UPDATE ON baza FOR EACH ROW "
            "IF (@changes := IFNULL(@changes, 0) + 1) = 3 THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Склад зачинено'; END IF"));
        const QStringList before = m_db->rows(QStringLiteral("select * from baza order by Id"));
        MessageRecorder messages;
        form().Query1->locate(QStringLiteral("Id"), 12);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn13"), Qt::LeftButton);
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests[0].kind, MessageKind::ErrorBox);
        QCOMPARE(messages.requests[0].text, QStringLiteral("Склад зачинено."));
        QCOMPARE(m_db->rows(QStringLiteral("select * from baza order by Id")), before);
        QVERIFY(log().contains(QStringLiteral("ROLLBACK")));
        QCOMPARE(log().filter(QStringLiteral("into `baza` values")).size() + log().filter(QStringLiteral("Update baza")).size(), 3);
        QCOMPARE(currentHeader(), QStringLiteral("12")); // nothing refreshed
    }

    void invoiceNeedsLines()
    {
        int previews = 0;
        m_form->reach(*m_stock, [&] { ++previews; });
        MessageRecorder messages;
        form().Query1->locate(QStringLiteral("Id"), 12);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn17"), Qt::LeftButton);
        QCOMPARE(previews, 1);
        QVERIFY(messages.requests.isEmpty());

        m_db->exec(QStringLiteral("DELETE FROM chonadishlo WHERE IdNadhodgennya = 10"));
        form().Query1->locate(QStringLiteral("Id"), 10);
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn17"), Qt::LeftButton);
        QCOMPARE(previews, 1);
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests[0].kind, MessageKind::Plain);
        QCOMPARE(messages.requests[0].text, QStringLiteral("Введіть дані про постачання"));
    }

    // A line with a quantity that is not positive would lower the base it means to raise: posting
    // refuses the receipt before anything is written.
    void postingRefusesANonPositiveQuantity()
    {
        m_db->exec(QStringLiteral("UPDATE chonadishlo SET Kilkist=-5 WHERE Id=41"));
        form().Query1->locate(QStringLiteral("Id"), 11);
        form().Query1->locate(QStringLiteral("Id"), 12);
        const QStringList before = m_db->rows(QStringLiteral("select * from baza order by Id"));
        MessageRecorder messages;
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn13"), Qt::LeftButton);
        QCOMPARE(writes(), QStringList());
        QCOMPARE(m_db->rows(QStringLiteral("select * from baza order by Id")), before);
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests[0].text, QStringLiteral("Кількість товару «Сіль» має бути додатним числом, а не -5. Нічого не змінено."));
    }

    void postingWithoutLines()
    {
        m_db->exec(QStringLiteral("DELETE FROM chonadishlo WHERE IdNadhodgennya = 10"));
        form().Query1->locate(QStringLiteral("Id"), 11);
        form().Query1->locate(QStringLiteral("Id"), 10);
        MessageRecorder messages;
        writes();
        QTest::mouseClick(control<QPushButton>(form(), "BitBtn13"), Qt::LeftButton);
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests[0].kind, MessageKind::Plain);
        QCOMPARE(messages.requests[0].text, QStringLiteral("Введіть дані про постачання"));
        QCOMPARE(writes(), QStringList());
    }
};

COOP_GUI_TEST_MAIN(TestReceipts)
#include "test_receipts.moc"
