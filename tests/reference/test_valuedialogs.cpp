// The search and filter dialogs: modal results of each way of closing, the text as typed, an empty
// field at every showing, and where the focus starts.
#include "reference/form5.h"
#include "reference/form6.h"
#include "widgets/screen.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace coop;

class TestValueDialogs : public QObject
{
    Q_OBJECT

    // Shows the dialog without a nested loop, lets `act` work on it, answers its result.
    static int showAndDo(ValueDialog &dialog, const std::function<void(ValueDialog &)> &act)
    {
        const ShowModalFunction previous = setShowModalFunction([&](QDialog &shown) {
            shown.show();
            QApplication::setActiveWindow(&shown);
            act(dialog);
            if (shown.isVisible())
                shown.done(0);
            return shown.result();
        });
        const int result = showModal(dialog);
        setShowModalFunction(previous);
        return result;
    }

    static std::unique_ptr<ValueDialog> make(int which)
    {
        if (which == 5)
            return std::make_unique<TForm5>();
        return std::make_unique<TForm6>();
    }

private slots:
    void closing_data()
    {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");
        for (int dialog : {5, 6}) {
            const QByteArray name = dialog == 5 ? "search" : "filter";
            QTest::newRow(name + ": accept button") << dialog << "accept" << 1;
            QTest::newRow(name + ": Enter") << dialog << "enter" << 1;
            QTest::newRow(name + ": cancel button") << dialog << "cancel" << 2;
            QTest::newRow(name + ": Esc") << dialog << "esc" << 2;
            QTest::newRow(name + ": close box") << dialog << "close" << 2;
        }
    }
    void closing()
    {
        QFETCH(int, dialog);
        QFETCH(QString, how);
        QFETCH(int, result);
        auto d = make(dialog);
        const int answered = showAndDo(*d, [&](ValueDialog &shown) {
            shown.Edit1->setFocus();
            QTest::keyClicks(shown.Edit1, QStringLiteral(" O'Brien % "));
            if (how == u"accept")
                QTest::mouseClick(shown.BitBtn1, Qt::LeftButton);
            else if (how == u"enter")
                QTest::keyClick(shown.Edit1, Qt::Key_Return);
            else if (how == u"cancel")
                QTest::mouseClick(shown.BitBtn2, Qt::LeftButton);
            else if (how == u"esc")
                QTest::keyClick(shown.Edit1, Qt::Key_Escape);
            else
                shown.close();
        });
        QCOMPARE(answered, result);
        QVERIFY(!d->isVisible());
        QCOMPARE(d->Edit1->text(), QStringLiteral(" O'Brien % ")); // read as typed, not trimmed
    }

    void everyShowingStartsEmpty_data()
    {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<QString>("firstFocus");
        QTest::newRow("search: focus in the field") << 5 << "Edit1";
        QTest::newRow("filter: focus on accept") << 6 << "BitBtn1";
    }
    void everyShowingStartsEmpty()
    {
        QFETCH(int, dialog);
        QFETCH(QString, firstFocus);
        auto d = make(dialog);
        showAndDo(*d, [](ValueDialog &shown) {
            QTest::keyClicks(shown.Edit1, QStringLiteral("first"));
            shown.BitBtn1->click();
        });
        QString textAtShow, focused;
        const int result = showAndDo(*d, [&](ValueDialog &shown) {
            textAtShow = shown.Edit1->text();
            focused = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
            shown.BitBtn1->click(); // accepting an empty field is allowed
        });
        QCOMPARE(textAtShow, QString());
        QCOMPARE(focused, firstFocus);
        QCOMPARE(result, 1);
        QCOMPARE(d->Edit1->text(), QString());
    }

    void definition()
    {
        TForm5 search;
        TForm6 filter;
        QCOMPARE(search.windowTitle(), QStringLiteral("Пошук"));
        QCOMPARE(search.size(), QSize(384, 157));
        QCOMPARE(filter.windowTitle(), QStringLiteral("Фільтрація"));
        QCOMPARE(filter.size(), QSize(356, 152));
        QCOMPARE(search.BitBtn2->text(), QStringLiteral("Відхилити"));
        QCOMPARE(filter.BitBtn2->text(), QStringLiteral("Відмінити"));
    }
};

QTEST_MAIN(TestValueDialogs)
#include "test_valuedialogs.moc"
