#pragma once

#include "data/database.h"

#include <QMainWindow>

#include <memory>

class QDialog;

namespace Ui {
class TForm1;
}

namespace coop {

class WindowRegistry;

// The main window: the connection Database1, the background picture, the main menu and the tool
// bar from which every screen is opened modally. Closing it ends the program.
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    // Opens the connection with the stored parameters, without a login dialog; raises its failure.
    explicit TForm1(WindowRegistry &windows);
    ~TForm1() override;

    Database Database1;

    void N2Click();
    void N3Click();
    void N5Click();
    void N6Click();
    void N7Click();
    void N8Click();
    void N9Click();
    void N11Click();
    void N12Click();
    void N13Click();
    void N15Click();
    void N16Click();
    void N17Click();
    void N18Click();
    void N19Click();
    void ToolButton1Click();
    void ToolButton3Click();
    void ToolButton5Click();
    void ToolButton7Click();
    void ToolButton9Click();
    void ToolButton11Click();
    void ToolButton13Click();

private:
    void connectCommands();
    void sizeToolButtons();
    void loadPicture();
    // A command that opens a screen ignores the screen's modal result.
    static void open(QDialog &screen);

    std::unique_ptr<Ui::TForm1> ui;
    WindowRegistry &m_windows;
};

} // namespace coop
