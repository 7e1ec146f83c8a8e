// The suppliers screen driven through its controls: the registration code's check (eight digits,
// or six as stored rows may hold), the masked telephone, the statements, and the reload after the
// delete question.
#include "reference/form4.h"
#include "screenfixture.h"
#include "widgets/maskedit.h"

using namespace coop;

namespace {
const QString Grid = QStringLiteral("Select * \nFrom postachalnuku");
} // namespace

class TestSuppliers : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScreenFixture> f;
    std::unique_ptr<TForm4> screen;

    QAbstractButton *button(const char *name) { return screen->findChild<QAbstractButton *>(QLatin1String(name)); }
    QLineEdit *edit(const char *name) { return screen->findChild<QLineEdit *>(QLatin1String(name)); }
    MaskEdit *phone() { return screen->findChild<MaskEdit *>(QStringLiteral("MaskEdit1")); }
    DBGrid *grid() { return screen->findChild<DBGrid *>(QStringLiteral("DBGrid1")); }

private slots:
    void init()
    {
        f = std::make_unique<ScreenFixture>();
        f->db.exec(QStringLiteral("INSERT INTO postachalnuku VALUES (1, 'ТОВ «Хлібодар»', 'м. Черкаси', '(047)-245-11-20', 135790),"
                                  "(2, 'ПП Олійник', 'м. Сміла', '(047)-334-56-78', 24681357)"));
        screen = std::make_unique<TForm4>(f->connection);
        f->open(*screen);
    }
    void cleanup()
    {
        screen.reset();
        f.reset();
    }

    void registrationCode_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("eight digits") << QStringLiteral("24681357") << true;
        QTest::newRow("six digits") << QStringLiteral("135791") << true;
        QTest::newRow("seven digits") << QStringLiteral("2468135") << false;
        QTest::newRow("five digits") << QStringLiteral("24681") << false;
        QTest::newRow("nine digits") << QStringLiteral("246813579") << false;
    }
    void registrationCode()
    {
        QFETCH(QString, code);
        QFETCH(bool, accepted);
        f->click(button("BitBtn1"));
        edit("Edit1")->setText(QStringLiteral("ТОВ «Агроцентр»"));
        edit("Edit2")->setText(QStringLiteral("м. Умань"));
        QTest::keyClicks(edit("Edit4"), code);
        f->click(button("BitBtn4"));
        if (!accepted) {
            QCOMPARE(f->messageTexts(), QStringList(QStringLiteral("Помилка|Введіть дані")));
            QCOMPARE(f->statements(), QStringList());
            QVERIFY(button("BitBtn4")->isEnabled());
            return;
        }
        QCOMPARE(f->messages.size(), 0);
        // A telephone left blank goes in as the mask's own characters with blanks for the digits.
        QCOMPARE(f->statements(), QStringList({QStringLiteral("INSERT INTO postachalnuku (NazvaPostachalnuka,Adresa,Telefon,KodEDRPOU) "
                                                              "values('ТОВ «Агроцентр»','м. Умань','(   )-   -  -  ','")
                                                   + code + QStringLiteral("')"),
                                               Grid}));
        QCOMPARE(f->db.value(QStringLiteral("SELECT CAST(KodEDRPOU AS CHAR) FROM postachalnuku WHERE Adresa='м. Умань'")), code);
    }

    void codeFieldTakesDigitsOnly()
    {
        f->click(button("BitBtn1"));
        QTest::keyClicks(edit("Edit4"), QStringLiteral("12a-3,.4"));
        QTest::keyClick(edit("Edit4"), Qt::Key_Backspace);
        QCOMPARE(edit("Edit4")->text(), QStringLiteral("123"));
    }

    void editShowsTheRowAndUpdatesWithoutACheck()
    {
        f->selectCell(grid(), 1, 0);
        f->click(button("BitBtn2"));
        QCOMPARE(edit("Edit4")->text(), QStringLiteral("24681357"));
        QCOMPARE(phone()->text(), QStringLiteral("(047)-334-56-78"));
        edit("Edit4")->setText(QStringLiteral("2468135")); // written as typed when editing
        f->click(button("BitBtn4"));
        QCOMPARE(f->statements(), QStringList({QStringLiteral("Update postachalnuku Set NazvaPostachalnuka='ПП Олійник', Adresa='м. Сміла', "
                                                              "Telefon='(047)-334-56-78', KodEDRPOU='2468135' Where Id=2"),
                                               Grid}));
    }

    void supplierOfAReceiptIsKept()
    {
        f->db.exec(QStringLiteral("INSERT INTO nadhodgennya VALUES (NULL, 2, 1, '2011-05-13')"));
        f->selectCell(grid(), 1, 0);
        f->click(button("BitBtn3"));
        QCOMPARE(f->messageTexts(), QStringList(QStringLiteral("Помилка!|Даний запис використовується в інших таблицях")));
        QCOMPARE(f->statements(),
                 QStringList({QStringLiteral("SELECT COUNT(*) From nadhodgennya where nadhodgennya.IdPostachalnuka=2;"), Grid}));
        QCOMPARE(screen->Query1->recNo(), 0);

        f->clearLog();
        f->messageAnswers = {mrYes};
        f->click(button("BitBtn3")); // the first row now, named in no receipt
        QCOMPARE(f->statements().mid(1, 1), QStringList(QStringLiteral("DELETE FROM postachalnuku WHERE postachalnuku.id=1;")));
    }
};

COOP_SCREEN_TEST_MAIN(TestSuppliers)
#include "test_suppliers.moc"
