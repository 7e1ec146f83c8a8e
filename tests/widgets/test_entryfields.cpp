#include "data/databaseerror.h"
#include "data/format.h"
#include "support/guitestmain.h"
#include "support/keyboard.h"
#include "support/messagerecorder.h"
#include "widgets/datetimepicker.h"
#include "widgets/idcombobox.h"
#include "widgets/keyfilteredit.h"
#include "widgets/maskedit.h"

#include <QAccessible>
#include <QCalendarWidget>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QAbstractItemView>

using namespace coop;

namespace {

const QString DateMask = QStringLiteral("0000-00-00;1;_");
const QString PhoneMask = QStringLiteral("(000)-000-00-00;1;_");
const QString IncompleteError = QStringLiteral("Invalid input value.  Use escape key to abandon changes.");

// A window with a masked field followed by a plain one, active so that focus moves as it does for
// the user.
struct MaskWindow
{
    QWidget window;
    MaskEdit *mask = new MaskEdit(&window);
    QLineEdit *next = new QLineEdit(&window);

    explicit MaskWindow(const QString &editMask)
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(mask);
        layout->addWidget(next);
        mask->setEditMask(editMask);
        window.show();
        QApplication::setActiveWindow(&window);
        mask->setFocus(Qt::TabFocusReason);
    }
};

// An editable catalog combo box as the panels have it, filled and with nothing chosen, in an active
// window with the focus in it as after Tab.
struct ChoiceWindow
{
    QWidget window;
    IdComboBox *combo = new IdComboBox(&window);
    DateTimePicker *picker = new DateTimePicker(&window);

    ChoiceWindow()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(combo);
        layout->addWidget(picker);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItems({QStringLiteral("Сіль"), QStringLiteral("Сир"), QStringLiteral("Молоко"), QStringLiteral("Сир")});
        combo->idList() << QStringLiteral("4") << QStringLiteral("9") << QStringLiteral("12") << QStringLiteral("15");
        combo->setCurrentIndex(-1);
        combo->setEditText(QString());
        window.show();
        QApplication::setActiveWindow(&window);
        combo->setFocus(Qt::TabFocusReason);
    }
};

} // namespace

class TestEntryFields : public QObject
{
    Q_OBJECT

private slots:
    void maskKeepsBlanks_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty date") << DateMask << "" << "    -  -  " << "____-__-__";
        QTest::newRow("full date") << DateMask << "20110305" << "2011-03-05" << "2011-03-05";
        QTest::newRow("year only") << DateMask << "2011" << "2011-  -  " << "2011-__-__";
        QTest::newRow("letters and dashes dropped") << DateMask << "2a0-11x03" << "2011-03-  " << "2011-03-__";
        QTest::newRow("extra digits dropped") << DateMask << "201103059" << "2011-03-05" << "2011-03-05";
        QTest::newRow("backspace blanks the last digit") << DateMask << "20113\b" << "2011-  -  " << "2011-__-__";
        QTest::newRow("empty phone") << PhoneMask << "" << "(   )-   -  -  " << "(___)-___-__-__";
        QTest::newRow("full phone") << PhoneMask << "0501234567" << "(050)-123-45-67" << "(050)-123-45-67";
        QTest::newRow("part of a phone") << PhoneMask << "0501" << "(050)-1  -  -  " << "(050)-1__-__-__";
    }
    void maskKeepsBlanks()
    {
        QFETCH(QString, mask);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        MaskWindow w(mask);
        w.mask->setCursorPosition(0);
        QTest::keyClicks(w.mask, keys);
        QCOMPARE(w.mask->text(), text);
        QCOMPARE(w.mask->displayText(), shown);
        QCOMPARE(w.mask->isComplete(), !text.contains(u' '));
    }

    void leavingAMaskedField_data()
    {
        QTest::addColumn<QString>("initial");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("refused");
        QTest::newRow("changed and incomplete") << "" << "2011" << true;
        QTest::newRow("changed and complete") << "" << "20110305" << false;
        QTest::newRow("unchanged and empty") << "" << "" << false;
        QTest::newRow("complete date blanked") << "2011-03-05" << "\b\b" << true;
    }
    void leavingAMaskedField()
    {
        QFETCH(QString, initial);
        QFETCH(QString, keys);
        QFETCH(bool, refused);
        MessageRecorder messages;
        MaskWindow w(DateMask);
        w.mask->setText(initial);
        w.mask->setFocus(Qt::TabFocusReason);
        w.mask->setCursorPosition(initial.isEmpty() ? 0 : int(initial.size()));
        QTest::keyClicks(w.mask, keys);
        w.next->setFocus(Qt::TabFocusReason);
        QCOMPARE(w.mask->hasFocus(), refused);
        QCOMPARE(messages.requests.size(), refused ? 1 : 0);
        if (refused) {
            QCOMPARE(messages.requests.first().kind, MessageKind::ErrorBox);
            QCOMPARE(messages.requests.first().text, IncompleteError);
        }
    }

    void escapeRestoresTheTextBeforeEditing()
    {
        MessageRecorder messages;
        MaskWindow w(DateMask);
        w.mask->setText(QStringLiteral("2011-03-05"));
        w.mask->setCursorPosition(0);
        QTest::keyClicks(w.mask, QStringLiteral("19"));
        QCOMPARE(w.mask->text(), QStringLiteral("1911-03-05"));
        QTest::keyClick(w.mask, Qt::Key_Backspace);
        QTest::keyClick(w.mask, Qt::Key_Escape);
        QCOMPARE(w.mask->text(), QStringLiteral("2011-03-05"));
        w.next->setFocus(Qt::TabFocusReason);
        QVERIFY(messages.requests.isEmpty());
    }

    void keyFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("comma: second comma dropped") << "comma" << "12,5," << "12,5";
        QTest::newRow("comma: point dropped") << "comma" << "1.5" << "15";
        QTest::newRow("comma: backspace works") << "comma" << "12,\b5" << "125";
        QTest::newRow("point: comma becomes point") << "point" << "12,5" << "12.5";
        QTest::newRow("point: only one mark") << "point" << "12,5,." << "12.5";
        QTest::newRow("digits: others dropped") << "digits" << "a1-2,3.4" << "1234";
        QTest::newRow("digits: backspace works") << "digits" << "12\b3" << "13";
    }
    void keyFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QLineEdit edit;
        attachKeyFilter(&edit, filter == u"comma"   ? CommaDecimalFilter
                               : filter == u"point" ? PointDecimalFilter
                                                    : DigitsOnlyFilter);
        edit.show();
        QTest::keyClicks(&edit, keys);
        QCOMPARE(edit.text(), text);
    }

    // However text arrives, the field holds only what its rule lets through: pasted text passes the
    // filter character by character, as if typed; a value set any other way (the accessibility
    // interface that assistive tools and test robots use, the program) must pass it whole or be a
    // number of no sign as the system shows a stored one, or the field is emptied.
    void textFromAnyWayPassesTheFilter_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("arriving");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *way, const char *name) -> QTestData & {
            return QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(way), QLatin1String(name)))) << QString::fromLatin1(way);
        };
        row("paste", "digits: a negative quantity") << "digits" << "-5" << "5";
        row("paste", "digits: a fraction") << "digits" << "2,5" << "25";
        row("paste", "comma: two marks") << "comma" << "1,2,3" << "1,23";
        row("paste", "point: a comma becomes the point") << "point" << "1850,50" << "1850.50";
        row("paste", "digits: clean text stays") << "digits" << "007" << "007";
        for (const char *way : {"accessible value", "accessible insert", "setText"}) {
            row(way, "digits: a negative quantity") << "digits" << "-5" << "";
            row(way, "digits: letters") << "digits" << "5x" << "";
            row(way, "digits: a date") << "digits" << "31.02.2011" << "";
            row(way, "comma: two marks") << "comma" << "1,2,3" << "";
            row(way, "comma: a negative price") << "comma" << "-2,5" << "";
            row(way, "point: a second point") << "point" << "1.2.3" << "";
            row(way, "point: a negative salary") << "point" << "-1850.5" << "";
            row(way, "digits: clean text") << "digits" << "007" << "007";
            row(way, "comma: one mark") << "comma" << "12,5" << "12,5";
            row(way, "point: one point") << "point" << "1850.5" << "1850.5";
            // A stored quantity counted elsewhere, as the system shows it for editing.
            row(way, "digits: a stored fraction") << "digits" << "2,5" << "2,5";
            row(way, "comma: a stored price in exponent form") << "comma" << "1E20" << "1E20";
        }
    }
    void textFromAnyWayPassesTheFilter()
    {
        QFETCH(QString, way);
        QFETCH(QString, filter);
        QFETCH(QString, arriving);
        QFETCH(QString, text);
        QLineEdit edit;
        attachKeyFilter(&edit, filter == u"comma"   ? CommaDecimalFilter
                               : filter == u"point" ? PointDecimalFilter
                                                    : DigitsOnlyFilter);
        edit.show();
        edit.setFocus();
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&edit);
        QVERIFY(accessible);
        if (way == u"paste") {
            QApplication::clipboard()->setText(arriving);
            QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        } else if (way == u"accessible value") {
            QTest::keyClick(&edit, Qt::Key_7); // replaced, whatever the field held
            accessible->setText(QAccessible::Value, arriving);
        } else if (way == u"accessible insert") {
            accessible->editableTextInterface()->insertText(0, arriving);
        } else {
            edit.setText(arriving);
        }
        QCOMPARE(edit.text(), text);
    }

    // The toolkit's own parts speak Ukrainian (month and day names, standard buttons, the preview's
    // tools); the system's own number and date rules stay as they are, whatever the locale.
    void toolkitInUkrainianRulesUnchanged()
    {
        QCOMPARE(QLocale().language(), QLocale::Ukrainian);
        DateTimePicker picker;
        picker.setDate(QDate(2026, 12, 8));
        QCOMPARE(picker.text(), QStringLiteral("08.12.2026"));
        const QLocale calendar = picker.calendarWidget()->locale();
        QCOMPARE(calendar.standaloneMonthName(12), QStringLiteral("грудень"));
        QCOMPARE(calendar.standaloneDayName(1), QStringLiteral("понеділок"));
        QMessageBox box;
        QCOMPARE(box.addButton(QMessageBox::Yes)->text().remove(u'&'), QStringLiteral("Так"));
        QCOMPARE(box.addButton(QMessageBox::Cancel)->text().remove(u'&'), QStringLiteral("Скасувати"));
        QCOMPARE(QCoreApplication::translate("QPrintPreviewDialog", "Fit width"), QStringLiteral("По ширині"));

        QCOMPARE(LocaleNumberText(1520.5), QStringLiteral("1520,5"));
        QCOMPARE(LocaleNumberText(1234567.25), QStringLiteral("1234567,25"));
        QCOMPARE(FormatSqlNumber(1520.5), QStringLiteral("1520.5"));
        QCOMPARE(ReadTypedNumber(QStringLiteral("1520,5")), 1520.5);
        QCOMPARE(LocaleDateText(QDate(2026, 12, 8)), QStringLiteral("08.12.2026"));
        QCOMPARE(ReadLocaleDate(QStringLiteral("8.12.2026")), QDate(2026, 12, 8));
    }

    void pickerClosesUpAfterThePick()
    {
        DateTimePicker picker;
        picker.show();
        QCOMPARE(picker.displayFormat(), QStringLiteral("dd.MM.yyyy"));
        QDate dateAtCloseUp;
        QObject::connect(&picker, &DateTimePicker::closeUp, &picker, [&] { dateAtCloseUp = picker.date(); });
        QSignalSpy closeUps(&picker, &DateTimePicker::closeUp);
        const QPoint arrow(picker.width() - 4, picker.height() / 2);
        QTest::mouseClick(&picker, Qt::LeftButton, {}, arrow);
        QVERIFY(picker.calendarWidget()->isVisible());
        QCOMPARE(closeUps.size(), 0);
        emit picker.calendarWidget()->activated(QDate(2011, 3, 5));
        QCOMPARE(closeUps.size(), 1);
        QCOMPARE(dateAtCloseUp, QDate(2011, 3, 5));
        QCOMPARE(picker.text(), QStringLiteral("05.03.2011"));

        QTest::mouseClick(&picker, Qt::LeftButton, {}, arrow);
        QVERIFY(picker.calendarWidget()->isVisible());
        QTest::keyClick(picker.calendarWidget()->window(), Qt::Key_Escape);
        QCOMPARE(closeUps.size(), 2);
    }

    // The first letters typed choose the entry they begin, in either case; typing on narrows the
    // choice, and a text that begins no entry chooses none.
    void comboBoxChosenByItsFirstLetters_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        QTest::newRow("one letter, the first entry it begins") << "С" << "Сіль" << 0;
        QTest::newRow("two letters narrow it") << "Си" << "Сир" << 1;
        QTest::newRow("another case") << "мо" << "Молоко" << 2;
        QTest::newRow("the whole name") << "Молоко" << "Молоко" << 2;
        QTest::newRow("no entry begins so") << "Хл" << "Хл" << -1;
    }
    void comboBoxChosenByItsFirstLetters()
    {
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(int, index);
        ChoiceWindow w;
        typeKeys(w.combo, keys);
        QCOMPARE(w.combo->currentText(), text);
        QCOMPARE(w.combo->currentIndex(), index);
        QVERIFY(!w.combo->view()->isVisible());
        if (index >= 0)
            QCOMPARE(w.combo->selectedId(), w.combo->idList().at(index));
    }

    // Down and Up walk the entries without opening the list; an entry of the same name as another
    // keeps its own id.
    void comboBoxWalkedByArrows()
    {
        ChoiceWindow w;
        const QList<std::pair<Qt::Key, QString>> steps = {
            {Qt::Key_Down, QStringLiteral("4")}, {Qt::Key_Down, QStringLiteral("9")}, {Qt::Key_Down, QStringLiteral("12")}, {Qt::Key_Down, QStringLiteral("15")},
            {Qt::Key_Down, QStringLiteral("15")}, {Qt::Key_Up, QStringLiteral("12")}, {Qt::Key_Up, QStringLiteral("9")}};
        for (const auto &[key, id] : steps) {
            QTest::keyClick(w.combo, key);
            QCOMPARE(w.combo->selectedId(), id);
            QVERIFY(!w.combo->view()->isVisible());
        }
        QTest::keyClick(w.combo, Qt::Key_Down);
        QTest::keyClick(w.combo, Qt::Key_Down);
        QCOMPARE(w.combo->currentText(), QStringLiteral("Сир"));
        QCOMPARE(w.combo->selectedId(), QStringLiteral("15")); // not the first "Сир"
    }

    // A date typed into the picker as the clerk tabs into it: its day first, with or without the dots.
    void pickerTakesTypedDigits_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<Qt::FocusReason>("reason");
        QTest::newRow("digits alone") << "05032011" << QDate(2011, 3, 5) << Qt::TabFocusReason;
        QTest::newRow("with the dots") << "05.03.2011" << QDate(2011, 3, 5) << Qt::TabFocusReason;
        QTest::newRow("one digit and a dot") << "5.3.2011" << QDate(2011, 3, 5) << Qt::TabFocusReason;
        QTest::newRow("the last day of a month") << "31122010" << QDate(2010, 12, 31) << Qt::TabFocusReason;
        QTest::newRow("come back by Shift+Tab") << "05032011" << QDate(2011, 3, 5) << Qt::BacktabFocusReason;
    }
    void pickerTakesTypedDigits()
    {
        QFETCH(QString, keys);
        QFETCH(QDate, date);
        QFETCH(Qt::FocusReason, reason);
        ChoiceWindow w;
        w.picker->setDate(QDate(2026, 12, 11));
        QSignalSpy closeUps(w.picker, &DateTimePicker::closeUp);
        w.picker->setFocus(reason);
        typeKeys(w.picker, keys);
        QCOMPARE(w.picker->date(), date);
        QVERIFY(!w.picker->calendarWidget()->isVisible());
        QCOMPARE(closeUps.size(), 0); // typing is no pick from the calendar
        // One Tab leaves the field, wherever in the date the typing stopped.
        QTest::keyClick(w.picker, Qt::Key_Tab);
        QVERIFY(w.combo->hasFocus());
        QCOMPARE(w.picker->date(), date);
    }

    void comboBoxAnswersTheIdOfTheSelectedEntry()
    {
        IdComboBox combo;
        QVERIFY_THROWS_EXCEPTION(Error, combo.selectedId());
        combo.addItems({QStringLiteral("Хліб"), QStringLiteral("Молоко")});
        combo.idList() << QStringLiteral("7") << QStringLiteral("12");
        combo.setCurrentIndex(1);
        QCOMPARE(combo.selectedId(), QStringLiteral("12"));
        combo.clearAll();
        QCOMPARE(combo.count(), 0);
        QVERIFY(combo.idList().isEmpty());
    }
};

COOP_GUI_TEST_MAIN(TestEntryFields)
#include "test_entryfields.moc"
