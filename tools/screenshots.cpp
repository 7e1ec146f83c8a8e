// Takes a picture of every window of the program, as a clerk sees it on the demo cooperative, for
// the user guide:  screenshots OUTPUT_DIR
// It runs the program's own windows on a private internal server (first start: demo data) under
// temporary XDG folders, shows each window, sets the states the guide describes, and saves what
// the display shows, popups included. Run it under a display server: scripts/screenshots.sh.
#include "app/form1.h"
#include "app/form2.h"
#include "app/windowregistry.h"
#include "audit/form14.h"
#include "audit/form15.h"
#include "movement/form11.h"
#include "movement/form7.h"
#include "reference/form10.h"
#include "reference/form3.h"
#include "reference/form4.h"
#include "reference/form5.h"
#include "reference/form6.h"
#include "reference/form8.h"
#include "reference/form9.h"
#include "revenue/form16.h"
#include "revenue/form22.h"
#include "stock/form12.h"
#include "stock/form13.h"
#include "widgets/application.h"
#include "widgets/datetimepicker.h"
#include "widgets/messages.h"
#include "widgets/screen.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPointer>
#include <QPrinter>
#include <QScreen>
#include <QTemporaryDir>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <cstdio>
#include <functional>
#include <utility>

using namespace coop;

namespace {

QString outputDir;

void settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(40);
    }
}

// What the display shows over the window (and whatever pops up over it).
void shoot(const QRect &area, const QString &name)
{
    settle();
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const QString path = QDir(outputDir).filePath(name);
    if (!picture.save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

void shoot(QWidget &window, const QString &name) { shoot(window.frameGeometry(), name); }

QAbstractButton *button(QWidget &window, const char *name) { return window.findChild<QAbstractButton *>(QLatin1String(name)); }
QAbstractButton *buttonCaptioned(QWidget &window, const QString &caption)
{
    for (QAbstractButton *candidate : window.findChildren<QAbstractButton *>())
        if (candidate->text().remove(u'&').trimmed() == caption)
            return candidate;
    std::fprintf(stderr, "no button \"%s\"\n", qPrintable(caption));
    return nullptr;
}
void click(QAbstractButton *pressed)
{
    if (pressed)
        pressed->click();
    settle();
}

// Every message box is answered (a question with No, anything else with its only button); the one awaited is photographed first,
// over the window it came from. Another one is told, for it means the run went astray.
QPointer<QWidget> messageOwner;
QString messageShot;

void answerMessages()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    if (!messageShot.isEmpty() && messageOwner)
        shoot(messageOwner->frameGeometry().united(box->frameGeometry()), std::exchange(messageShot, QString()));
    else
        std::fprintf(stderr, "message \"%s\": %s\n", qPrintable(box->windowTitle()), qPrintable(box->text()));
    // A question is answered No, so that the demo data stays as it is for the later pictures.
    QAbstractButton *answer = box->button(QMessageBox::No) ? box->button(QMessageBox::No) : box->buttons().value(0);
    answer->click();
}

void expectMessage(QWidget &window, const QString &name)
{
    messageOwner = &window;
    messageShot = name;
}

// A screen shown as the main window shows it, photographed, and closed again.
void shootScreen(QDialog &screen, const QString &name, const std::function<void()> &before = {})
{
    screen.show();
    settle();
    if (before)
        before();
    shoot(screen, name);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: screenshots OUTPUT_DIR\n");
        return 2;
    }
    // The program's own internal server with the demo cooperative, in folders of this run only.
    QTemporaryDir home(QStringLiteral("/tmp/coop-shots-XXXXXX"));
    for (const char *dir : {"data", "config", "run"})
        QDir().mkpath(home.filePath(QLatin1String(dir)));
    QFile::setPermissions(home.filePath(QStringLiteral("run")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.filePath(QStringLiteral("run"))));

    std::setvbuf(stdout, nullptr, _IONBF, 0);
    Application application(argc, argv);
    outputDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outputDir);

    QTimer answering;
    QObject::connect(&answering, &QTimer::timeout, &answering, answerMessages);
    answering.start(100);

    WindowRegistry windows;
    TForm1 &main = windows.form1();
    main.show();
    settle();

    // Screens open without a nested event loop here, so that the run can go on to photograph them;
    // previews are photographed and closed at once.
    QString nextPreview;
    setShowModalFunction([&](QDialog &dialog) {
        if (qobject_cast<QPrintPreviewDialog *>(&dialog)) {
            dialog.resize(900, 1000);
            centreOnScreen(dialog);
            dialog.show();
            settle();
            QThread::msleep(300);
            shoot(dialog, nextPreview);
            if (nextPreview == QStringLiteral("10-receipt-invoice.png")) {
                // The preview's tools tell what they do in Ukrainian.
                const QList<QToolButton *> tools = dialog.findChildren<QToolButton *>();
                for (QToolButton *tool : tools)
                    if (tool->defaultAction() && tool->isVisible() && tool->mapTo(&dialog, QPoint(0, 0)).x() > 150) {
                        QToolTip::showText(tool->mapToGlobal(QPoint(tool->width() / 2, tool->height())), tool->defaultAction()->toolTip(), tool);
                        shoot(QRect(dialog.frameGeometry().topLeft(), QSize(dialog.width(), 80)), QStringLiteral("32-preview-tool-tip.png"));
                        QToolTip::hideText();
                        break;
                    }
                // The toolkit's own printer dialog, in Ukrainian.
                QPrinter printer;
                QPrintDialog print(&printer, &dialog);
                QTimer::singleShot(500, &print, [&] {
                    shoot(print, QStringLiteral("31-print-dialog.png"));
                    print.reject();
                });
                print.exec();
            }
            dialog.done(0);
            return 0;
        }
        dialog.show();
        settle();
        return 0;
    });

    shoot(main, QStringLiteral("01-main-window.png"));
    for (const auto &[menuName, file] : {std::pair{"N4", "02-menu-dovidnyky.png"}, std::pair{"N1", "03-menu-connection.png"}}) {
        auto *menu = main.findChild<QMenu *>(QLatin1String(menuName));
        main.menuBar()->setActiveAction(menu->menuAction());
        settle();
        shoot(main.frameGeometry().united(menu->geometry()), QLatin1String(file));
        menu->hide();
        settle();
    }

    shootScreen(windows.form10(), QStringLiteral("04-goods.png"));
    windows.form10().hide();
    shootScreen(windows.form2(), QStringLiteral("05-connection-dialog.png"));
    windows.form2().hide();

    TForm7 &receipts = windows.form7();
    shootScreen(receipts, QStringLiteral("06-receipts.png"));
    click(button(receipts, "BitBtn1"));
    shoot(receipts, QStringLiteral("07-receipt-header.png"));
    click(button(receipts, "BitBtn5"));
    click(button(receipts, "BitBtn6"));
    shoot(receipts, QStringLiteral("08-receipt-line.png"));
    receipts.activate();
    click(buttonCaptioned(receipts, QStringLiteral("Визначити суму постачання")));
    shoot(receipts, QStringLiteral("09-receipt-sum.png"));
    // A date picker's calendar, open.
    if (auto *picker = receipts.findChild<DateTimePicker *>(QStringLiteral("DateTimePicker2"))) {
        picker->setFocus();
        const QPointF arrow(picker->width() - 8, picker->height() / 2);
        QMouseEvent press(QEvent::MouseButtonPress, arrow, picker->mapToGlobal(arrow), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(picker, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, arrow, picker->mapToGlobal(arrow), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(picker, &release);
        settle();
        const QCalendarWidget *calendar = picker->calendarWidget();
        shoot(receipts.frameGeometry().united(QRect(calendar->mapToGlobal(QPoint(0, 0)), calendar->size())), QStringLiteral("29-calendar.png"));
        picker->calendarWidget()->window()->hide();
        settle();
        click(buttonCaptioned(receipts, QStringLiteral("Відобразити все"))); // the pick filtered the receipts
    }
    nextPreview = QStringLiteral("10-receipt-invoice.png");
    click(buttonCaptioned(receipts, QStringLiteral("Прибуткова накладна")));
    // A delete question, with the toolkit's own Yes and No.
    expectMessage(receipts, QStringLiteral("30-question.png"));
    click(button(receipts, "BitBtn3"));
    receipts.hide();

    TForm12 &stock = windows.form12();
    shootScreen(stock, QStringLiteral("11-stock.png"));
    nextPreview = QStringLiteral("12-stock-card.png");
    click(buttonCaptioned(stock, QStringLiteral("Картка складського обліку")));
    stock.hide();

    TForm11 &distribution = windows.form11();
    shootScreen(distribution, QStringLiteral("13-distribution.png"));
    expectMessage(distribution, QStringLiteral("14-move-to-shop.png"));
    click(buttonCaptioned(distribution, QStringLiteral("Списати з складу")));
    nextPreview = QStringLiteral("15-transfer-invoice.png");
    click(buttonCaptioned(distribution, QStringLiteral("Накладна")));
    distribution.hide();

    shootScreen(windows.form13(), QStringLiteral("16-shop-stock.png"));
    windows.form13().hide();

    TForm14 &shopAudits = windows.form14();
    shootScreen(shopAudits, QStringLiteral("17-shop-audits.png"));
    nextPreview = QStringLiteral("27-shop-audit-act.png");
    click(buttonCaptioned(shopAudits, QStringLiteral("Акт ревізії")));
    shopAudits.hide();

    TForm15 &baseAudits = windows.form15();
    shootScreen(baseAudits, QStringLiteral("18-base-audits.png"));
    nextPreview = QStringLiteral("28-base-audit-act.png");
    click(buttonCaptioned(baseAudits, QStringLiteral("Акт ревізії")));
    baseAudits.hide();

    TForm16 &revenue = windows.form16();
    shootScreen(revenue, QStringLiteral("19-revenue.png"));
    revenue.hide();
    shootScreen(windows.form22(), QStringLiteral("20-revenue-chart.png"));
    windows.form22().hide();

    shootScreen(windows.form3(), QStringLiteral("21-employees.png"));
    click(button(windows.form3(), "BitBtn1"));
    shoot(windows.form3(), QStringLiteral("21-employees-entry.png"));
    windows.form3().activate();
    windows.form3().hide();
    shootScreen(windows.form4(), QStringLiteral("22-suppliers.png"));
    windows.form4().hide();
    shootScreen(windows.form8(), QStringLiteral("23-departments.png"));
    windows.form8().hide();
    shootScreen(windows.form9(), QStringLiteral("24-shops.png"));
    windows.form9().hide();
    shootScreen(windows.form5(), QStringLiteral("25-search.png"));
    windows.form5().hide();
    shootScreen(windows.form6(), QStringLiteral("26-filter.png"));

    // The titles the display server holds for the windows shown: each caption and nothing else.
    windows.form6().show();
    windows.form16().show();
    windows.form22().show();
    settle();
    QProcess titles;
    titles.start(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-children")});
    titles.waitForFinished();
    std::printf("window titles:\n%s", titles.readAllStandardOutput().constData());
    return 0;
}
