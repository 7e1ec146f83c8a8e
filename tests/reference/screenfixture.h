#pragma once

// A catalog screen under test: a fresh database, the connection with its statement log, the shared
// search and filter dialogs, and a test that answers every modal window and message box.

#include "data/database.h"
#include "data/query.h"
#include "screens/referencescreen.h"
#include "reference/form5.h"
#include "reference/form6.h"
#include "support/testdatabase.h"
#include "widgets/dbgrid.h"
#include "widgets/messages.h"
#include "widgets/application.h"
#include "widgets/screen.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QLineEdit>
#include <QTest>

#include <deque>

class ScreenFixture
{
public:
    explicit ScreenFixture(bool withDemoData = false) : db(withDemoData)
    {
        connection.setStatementLogging(true);
        m_previousShow = coop::setShowModalFunction([this](QDialog &dialog) { return showModal(dialog); });
        m_previousMessage = coop::setMessageFunction([this](const coop::MessageRequest &request) {
            messages.append(request);
            if (messageAnswers.empty())
                return int(coop::mrOk);
            const int answer = messageAnswers.front();
            messageAnswers.pop_front();
            return answer;
        });
    }
    ~ScreenFixture()
    {
        coop::setShowModalFunction(std::move(m_previousShow));
        coop::setMessageFunction(std::move(m_previousMessage));
    }

    // Creates the screen as the program does at start-up and opens it as the main window does.
    void open(coop::ReferenceScreen &screen)
    {
        screen.reach(search, filter);
        screen.create();
        reopen(screen);
    }
    void reopen(coop::Screen &screen)
    {
        coop::showModal(screen);
        QApplication::setActiveWindow(&screen);
        clearLog();
    }

    // The next search or filter dialog is given this text and accepted, or cancelled.
    void typeIntoDialog(const QString &text, bool accept = true) { m_dialogAnswers.push_back({text, accept}); }

    static void click(QWidget *button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Puts the grid's cursor on a cell, as a click into it does.
    static void selectCell(coop::DBGrid *grid, int row, int column)
    {
        grid->setCurrentIndex(grid->model()->index(row, column));
    }

    QStringList statements() const { return connection.statementLog(); }
    void clearLog()
    {
        connection.clearStatementLog();
        messages.clear();
    }
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const coop::MessageRequest &request : messages)
            texts.append(request.caption + u'|' + request.text);
        return texts;
    }

    TestDatabase db;
    coop::Database connection;
    coop::TForm5 search;
    coop::TForm6 filter;
    QList<coop::MessageRequest> messages;
    std::deque<int> messageAnswers; // in order; OK when none is left

private:
    struct DialogAnswer
    {
        QString text;
        bool accept;
    };

    int showModal(QDialog &dialog)
    {
        dialog.show();
        auto *valueDialog = qobject_cast<coop::ValueDialog *>(&dialog);
        if (!valueDialog)
            return coop::mrNone; // a screen: the test works it through its controls
        const DialogAnswer answer = m_dialogAnswers.empty() ? DialogAnswer{QString(), false} : m_dialogAnswers.front();
        if (!m_dialogAnswers.empty())
            m_dialogAnswers.pop_front();
        valueDialog->Edit1->setText(answer.text);
        click(answer.accept ? valueDialog->BitBtn1 : valueDialog->BitBtn2);
        return dialog.result();
    }

    std::deque<DialogAnswer> m_dialogAnswers;
    coop::ShowModalFunction m_previousShow;
    coop::MessageFunction m_previousMessage;
};

// Runs the test case under the program's own application object, so that an error a handler lets
// out reaches the error box exactly as in the program.
#define COOP_SCREEN_TEST_MAIN(TestClass)                                                                       \
    int main(int argc, char **argv)                                                                            \
    {                                                                                                          \
        coop::Application application(argc, argv);                                                             \
        TestClass test;                                                                                        \
        return QTest::qExec(&test, argc, argv);                                                                \
    }
