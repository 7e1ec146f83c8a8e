// The departments screen driven through its controls: its statements, its one usage check and the
// reload after every answer to the delete question.
#include "reference/form8.h"
#include "screenfixture.h"

using namespace coop;

namespace {
const QString Grid = QStringLiteral("Select * \nFrom viddilu ");
const QString Count = QStringLiteral("SELECT COUNT(*) From spivrobitnuku where spivrobitnuku.IdViddily=2;");
} // namespace

class TestDepartments : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScreenFixture> f;
    std::unique_ptr<TForm8> screen;

    QAbstractButton *button(const char *name) { return screen->findChild<QAbstractButton *>(QLatin1String(name)); }
    QLineEdit *edit(const char *name) { return screen->findChild<QLineEdit *>(QLatin1String(name)); }
    DBGrid *grid() { return screen->findChild<DBGrid *>(QStringLiteral("DBGrid1")); }

private slots:
    void init()
    {
        f = std::make_unique<ScreenFixture>();
        f->db.exec(QStringLiteral("INSERT INTO viddilu VALUES (1, 'Правління', 'вул. Центральна, 12'), (2, 'Бухгалтерія', 'к. 5'),"
                                  "(3, 'Склад', 'вул. Складська, 3')"));
        screen = std::make_unique<TForm8>(f->connection);
        f->open(*screen);
    }
    void cleanup()
    {
        screen.reset();
        f.reset();
    }

    void insertAndUpdate()
    {
        f->click(button("BitBtn1"));
        edit("Edit1")->setText(QStringLiteral("Торговий відділ"));
        f->click(button("BitBtn4"));
        QCOMPARE(f->messageTexts(), QStringList(QStringLiteral("Помилка|Введіть дані")));
        edit("Edit2")->setText(QStringLiteral("к. 7"));
        f->clearLog();
        f->click(button("BitBtn4"));
        QCOMPARE(f->statements(), QStringList({QStringLiteral("INSERT INTO viddilu (NazvaViddily,MisceRoztash) values('Торговий відділ','к. 7')"), Grid}));

        f->selectCell(grid(), 1, 1);
        f->click(button("BitBtn2"));
        QCOMPARE(edit("Edit1")->text(), QStringLiteral("Бухгалтерія"));
        edit("Edit2")->setText(QStringLiteral("к. 5, 2-й поверх"));
        f->clearLog();
        f->click(button("BitBtn4"));
        QCOMPARE(f->statements(),
                 QStringList({QStringLiteral("Update viddilu Set NazvaViddily='Бухгалтерія', MisceRoztash='к. 5, 2-й поверх' Where Id=2"), Grid}));
        QCOMPARE(f->db.value(QStringLiteral("SELECT MisceRoztash FROM viddilu WHERE Id=2")), QStringLiteral("к. 5, 2-й поверх"));
    }

    void escDoesNotCancel()
    {
        f->click(button("BitBtn1"));
        QTest::keyClick(edit("Edit1"), Qt::Key_Escape);
        QVERIFY(button("BitBtn4")->isEnabled());
    }

    // Whatever the answer, the grid is reloaded and its first row becomes current.
    void deleteReloadsInEveryCase_data()
    {
        QTest::addColumn<bool>("employed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QString>("remaining");
        const QString ask = QStringLiteral("Увага!!!|Ви дійсно хочете видалити запис?");
        QTest::newRow("an employee belongs to it") << true << int(mrYes)
                                                   << QStringList(QStringLiteral("Помилка!|Даний запис використовується в інших таблицях"))
                                                   << QStringList({Count, Grid}) << QStringLiteral("3");
        QTest::newRow("No") << false << int(mrNo) << QStringList(ask) << QStringList({Count, Grid}) << QStringLiteral("3");
        QTest::newRow("Yes") << false << int(mrYes) << QStringList(ask)
                             << QStringList({Count, QStringLiteral("DELETE FROM viddilu WHERE viddilu.id=2;"), Grid}) << QStringLiteral("2");
    }
    void deleteReloadsInEveryCase()
    {
        QFETCH(bool, employed);
        QFETCH(int, answer);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, sent);
        QFETCH(QString, remaining);
        if (employed)
            f->db.exec(QStringLiteral("INSERT INTO spivrobitnuku (PIB, IdViddily) VALUES ('Ковальчук Ганна Миколаївна', 2)"));
        f->messageAnswers = {answer};
        f->selectCell(grid(), 1, 0);
        f->click(button("BitBtn3"));
        QCOMPARE(f->messageTexts(), messages);
        QCOMPARE(f->statements(), sent);
        QCOMPARE(f->db.value(QStringLiteral("SELECT COUNT(*) FROM viddilu")), remaining);
        QCOMPARE(screen->Query1->recNo(), 0);
    }

    void searchUsesTheFieldName()
    {
        f->selectCell(grid(), 0, 2);
        f->typeIntoDialog(QStringLiteral("к. 5"));
        f->click(button("BitBtn7"));
        QCOMPARE(f->statements(), QStringList(Grid + QStringLiteral("\n WHERE MisceRoztash='к. 5'")));
        QCOMPARE(screen->Query1->recordCount(), 1);
    }
};

COOP_SCREEN_TEST_MAIN(TestDepartments)
#include "test_departments.moc"
