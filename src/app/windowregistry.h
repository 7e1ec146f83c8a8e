#pragma once

#include <QObject>

#include <memory>
#include <vector>

namespace coop {

class Database;
class Screen;
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm9;
class TForm10;
class TForm11;
class TForm12;
class TForm13;
class TForm14;
class TForm15;
class TForm16;
class TForm22;
class TQuickReport17;
class TQuickReport18;
class TQuickReport19;
class TQuickReport20;
class TQuickReport21;

// Every window of the system, each created once, in its fixed order, and living until the program
// ends: the main window first (its connection opens as it is created), the connection dialog, the
// screens and the two search and filter dialogs by number, the five document layouts and the
// revenue chart last. Each screen's stored-open queries are opened as the screen is created, then
// its creation handler runs. The windows reach one another only through here.
class WindowRegistry
{
public:
    // Raises the first failure of the connection or of a stored-open query; whatever was already
    // created is destroyed again.
    WindowRegistry();
    // Destroys the windows in reverse order of creation, so the main window, which closes the
    // connection, goes last.
    ~WindowRegistry();
    WindowRegistry(const WindowRegistry &) = delete;
    WindowRegistry &operator=(const WindowRegistry &) = delete;

    TForm1 &form1() const { return *m_form1; }
    Database &database() const;
    TForm2 &form2() const { return *m_form2; }
    TForm3 &form3() const { return *m_form3; }
    TForm4 &form4() const { return *m_form4; }
    TForm5 &form5() const { return *m_form5; }
    TForm6 &form6() const { return *m_form6; }
    TForm7 &form7() const { return *m_form7; }
    TForm8 &form8() const { return *m_form8; }
    TForm9 &form9() const { return *m_form9; }
    TForm10 &form10() const { return *m_form10; }
    TForm11 &form11() const { return *m_form11; }
    TForm12 &form12() const { return *m_form12; }
    TForm13 &form13() const { return *m_form13; }
    TForm14 &form14() const { return *m_form14; }
    TForm15 &form15() const { return *m_form15; }
    TForm16 &form16() const { return *m_form16; }
    TQuickReport17 &quickReport17() const { return *m_quickReport17; }
    TQuickReport18 &quickReport18() const { return *m_quickReport18; }
    TQuickReport19 &quickReport19() const { return *m_quickReport19; }
    TQuickReport20 &quickReport20() const { return *m_quickReport20; }
    TQuickReport21 &quickReport21() const { return *m_quickReport21; }
    TForm22 &form22() const { return *m_form22; }

    // The windows in the order they were created.
    std::vector<QObject *> windows() const;

private:
    void createAll();
    // Gives each screen the windows it reaches; they exist only once all are created.
    void connectScreens();
    template <class Window> Window *adopt(std::unique_ptr<Window> window);
    template <class Window> Window *createScreen(std::unique_ptr<Window> screen);
    void destroyAll();

    std::vector<std::unique_ptr<QObject>> m_created;
    TForm1 *m_form1 = nullptr;
    TForm2 *m_form2 = nullptr;
    TForm3 *m_form3 = nullptr;
    TForm4 *m_form4 = nullptr;
    TForm5 *m_form5 = nullptr;
    TForm6 *m_form6 = nullptr;
    TForm7 *m_form7 = nullptr;
    TForm8 *m_form8 = nullptr;
    TForm9 *m_form9 = nullptr;
    TForm10 *m_form10 = nullptr;
    TForm11 *m_form11 = nullptr;
    TForm12 *m_form12 = nullptr;
    TForm13 *m_form13 = nullptr;
    TForm14 *m_form14 = nullptr;
    TForm15 *m_form15 = nullptr;
    TForm16 *m_form16 = nullptr;
    TQuickReport17 *m_quickReport17 = nullptr;
    TQuickReport18 *m_quickReport18 = nullptr;
    TQuickReport19 *m_quickReport19 = nullptr;
    TQuickReport20 *m_quickReport20 = nullptr;
    TQuickReport21 *m_quickReport21 = nullptr;
    TForm22 *m_form22 = nullptr;
};

} // namespace coop
