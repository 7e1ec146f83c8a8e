#pragma once

#include "messages.h"

#include <QDialog>
#include <QList>
#include <QPointer>

#include <functional>

#include <QAbstractButton>

namespace coop {

class Database;
class Query;

// The base of every screen window. Its definition (size, caption, colours, fonts) comes from the
// screen's .ui; the base fixes that size and centres the window on the screen the first time it is
// shown. A screen is shown modally (showModal) and closing it only hides it. Its activation handler
// FormActivate runs when it opens and again whenever the focus comes back to it from another
// window of the system; Esc presses its cancel button while that is enabled, Enter its default
// button.
class Screen : public QDialog
{
    Q_OBJECT

public:
    explicit Screen(QWidget *parent = nullptr);
    ~Screen() override;

    // Creation at start-up: opens the queries the screen keeps open from the start (AfterScroll
    // runs once for a non-empty result), then runs the creation handler.
    void create();

    // Runs the activation handler the way the event loop would: an error goes to the error box.
    void activate();

    void setCancelButton(QAbstractButton *button) { m_cancelButton = button; }
    QAbstractButton *cancelButton() const { return m_cancelButton; }

    // The screen that is open on top of the others; null when only the main window is.
    static Screen *activeScreen();

    // Called by the layer when a window opened from `opener` has closed.
    static void dialogClosed(Screen *opener);
    static void messageClosed(Screen *opener, MessageKind kind);

protected:
    // A query of this screen, owned by it and named as the screen names it ("Query3").
    Query *makeQuery(Database &database, const char *name);

    virtual QList<Query *> storedOpenQueries() { return {}; }
    virtual void FormCreate() {}
    virtual void FormActivate() {}

    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void reject() override { done(mrCancel); }

private:
    void placeOnFirstShow();

    QPointer<QAbstractButton> m_cancelButton;
    bool m_placed = false;
};

// Shows a window of the system modally and answers its modal result. The main window and the
// screens below it take no input until it closes.
int showModal(QDialog &dialog);

// How a modal window is shown: exec() in the program. Tests put a function in its place that shows
// the window without a nested event loop, or that acts on it and answers its result.
using ShowModalFunction = std::function<int(QDialog &)>;
// Installs a show-modal function; returns the one it replaces. An empty function restores exec().
ShowModalFunction setShowModalFunction(ShowModalFunction function);

// Moves a top-level window to the centre of its screen.
void centreOnScreen(QWidget &window);

// Gives every entry control that has a label beside it (its buddy) that label's caption as its
// accessible name.
void nameEntriesAfterLabels(QWidget &root);

// Puts the focus into the first control of `panel` that Tab would reach (in the window's tab
// order) and that is enabled, as if the clerk had tabbed into it: a line edit's text is selected, so
// that typing replaces it. Does nothing when the panel has no such control.
void focusFirstEntry(QWidget &panel);

} // namespace coop
