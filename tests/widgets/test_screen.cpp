#include "data/databaseerror.h"
#include "support/guitestmain.h"
#include "support/messagerecorder.h"
#include "widgets/application.h"
#include "widgets/screen.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>

using namespace coop;

namespace {

// A screen with a default and a cancel button that counts its activations.
class ProbeScreen : public Screen
{
public:
    ProbeScreen()
    {
        resize(300, 200);
        ok = new QPushButton(QStringLiteral("Прийняти"), this);
        ok->setDefault(true);
        cancel = new QPushButton(QStringLiteral("Відмінити"), this);
        cancel->move(100, 0);
        setCancelButton(cancel);
        connect(ok, &QPushButton::clicked, this, [this] { done(mrYes); });
        connect(cancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    }
    int activations = 0;
    QPushButton *ok;
    QPushButton *cancel;

protected:
    void FormActivate() override { ++activations; }
};

} // namespace

class TestScreen : public QObject
{
    Q_OBJECT

    ShowModalFunction m_previous;

private slots:
    void init()
    {
        // Show without a nested event loop; the test then acts on the window itself.
        m_previous = setShowModalFunction([](QDialog &dialog) {
            dialog.show();
            return int(mrNone);
        });
    }
    void cleanup() { setShowModalFunction(std::move(m_previous)); }

    void firstShowFixesSizeAndCentres()
    {
        ProbeScreen screen;
        showModal(screen);
        QCOMPARE(screen.minimumSize(), QSize(300, 200));
        QCOMPARE(screen.maximumSize(), QSize(300, 200));
        const QPoint centre = screen.screen()->availableGeometry().center();
        QVERIFY(qAbs(screen.geometry().center().x() - centre.x()) <= 1);
        QVERIFY(qAbs(screen.geometry().center().y() - centre.y()) <= 1);
        QCOMPARE(QApplication::activeModalWidget(), &screen);
    }

    void keysPressTheButtons_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("cancelEnabled");
        QTest::addColumn<bool>("staysOpen");
        QTest::addColumn<int>("result");
        QTest::newRow("Esc presses the cancel button") << int(Qt::Key_Escape) << true << false << int(mrCancel);
        QTest::newRow("Esc without an enabled cancel button") << int(Qt::Key_Escape) << false << true << int(mrNone);
        QTest::newRow("Enter presses the default button") << int(Qt::Key_Return) << true << false << int(mrYes);
    }
    void keysPressTheButtons()
    {
        QFETCH(int, key);
        QFETCH(bool, cancelEnabled);
        QFETCH(bool, staysOpen);
        QFETCH(int, result);
        ProbeScreen screen;
        screen.cancel->setEnabled(cancelEnabled);
        showModal(screen);
        screen.setResult(mrNone);
        QTest::keyClick(&screen, Qt::Key(key));
        QCOMPARE(screen.isVisible(), staysOpen);
        QCOMPARE(screen.result(), result);
    }

    void closingOnlyHides()
    {
        ProbeScreen screen;
        showModal(screen);
        QVERIFY(screen.close());
        QVERIFY(!screen.isVisible());
        QCOMPARE(screen.result(), int(mrCancel));
        showModal(screen);
        QVERIFY(screen.isVisible());
        QCOMPARE(screen.activations, 2);
    }

    void aVisibleScreenCannotBeShownModally()
    {
        ProbeScreen screen;
        showModal(screen);
        QVERIFY_THROWS_EXCEPTION(Error, showModal(screen));
    }

    // Dialogs and plain messages give the focus back in a way that activates the screen again;
    // its message boxes and the error box do not.
    void whatActivatesTheScreenAgain()
    {
        MessageRecorder messages(mrYes);
        ProbeScreen screen;
        showModal(screen);
        QCOMPARE(screen.activations, 1);

        ProbeScreen dialog;
        showModal(dialog);
        QCOMPARE(dialog.activations, 1);
        QCOMPARE(screen.activations, 1);
        QTest::mouseClick(dialog.cancel, Qt::LeftButton);
        QCOMPARE(screen.activations, 2);

        QCOMPARE(messageBox(QStringLiteral("Увага!!!"), QStringLiteral("Ви дійсно хочете видалити запис?"),
                            MessageButton::Yes | MessageButton::No, MessageIcon::Question),
                 int(mrYes));
        QCOMPARE(screen.activations, 2);
        showErrorBox(QStringLiteral("Lost connection"));
        QCOMPARE(screen.activations, 2);
        showMessage(QStringLiteral("Готово"));
        QCOMPARE(screen.activations, 3);
        QCOMPARE(messages.requests.last().caption, applicationTitle());
        QCOMPARE(messages.requests.last().icon, MessageIcon::None);
    }

    void activationErrorIsShownAndTheScreenOpens()
    {
        class FailingScreen : public Screen
        {
        protected:
            void FormActivate() override { throw DatabaseError(QStringLiteral("Table '190400.tovary' doesn't exist")); }
        };
        MessageRecorder messages;
        FailingScreen screen;
        showModal(screen);
        QVERIFY(screen.isVisible());
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests.first().text, QStringLiteral("Table '190400.tovary' doesn't exist."));
    }
};

COOP_GUI_TEST_MAIN(TestScreen)
#include "test_screen.moc"
