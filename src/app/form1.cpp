#include "form1.h"

#include "data/databaseerror.h"
#include "data/internalserver.h"
#include "form2.h"
#include "jpegimage.h"
#include "ui_form1.h"
#include "widgets/handler.h"
#include "widgets/longwork.h"
#include "widgets/screen.h"
#include "windowregistry.h"
#include "audit/form14.h"
#include "audit/form15.h"
#include "movement/form11.h"
#include "revenue/form16.h"
#include "movement/form7.h"
#include "reference/form10.h"
#include "reference/form3.h"
#include "reference/form4.h"
#include "reference/form8.h"
#include "reference/form9.h"
#include "stock/form12.h"
#include "stock/form13.h"

#include <QFile>
#include <QToolButton>

// The tool bar's pictures are compiled into this library; a static library's resources must be
// registered by name, or the linker leaves them out.
static void registerImageList() { Q_INIT_RESOURCE(form1); }

namespace coop {

namespace {
constexpr QSize ToolButtonSize(36, 31);
constexpr int SeparatorWidth = 8;
} // namespace

TForm1::TForm1(WindowRegistry &windows) : ui(std::make_unique<Ui::TForm1>()), m_windows(windows)
{
    registerImageList();
    ui->setupUi(this);
    sizeToolButtons();
    connectCommands();
    centreOnScreen(*this);
    loadPicture();
    Database1.setAliasName(QStringLiteral("MyDB3"));
    Database1.setDatabaseName(QStringLiteral("190400"));
    Database1.setLoginPrompt(false);
    Database1.setParams({QStringLiteral("USER NAME=root")});
    Database1.setServerProgress([work = std::make_shared<LongWork>()](const QString &doing) {
        if (doing.isEmpty())
            work->close();
        else
            (*work)(doing);
    });
    Database1.setConnected(true);
    if (const InternalServer *server = Database1.internalServer(); server && !server->upgradeFailure().isEmpty())
        showErrorBox(server->upgradeFailure());
}

TForm1::~TForm1() { Database1.setConnected(false); }

void TForm1::connectCommands()
{
    onEvent(ui->N2, &QAction::triggered, this, &TForm1::N2Click);
    onEvent(ui->N3, &QAction::triggered, this, &TForm1::N3Click);
    onEvent(ui->N5, &QAction::triggered, this, &TForm1::N5Click);
    onEvent(ui->N6, &QAction::triggered, this, &TForm1::N6Click);
    onEvent(ui->N7, &QAction::triggered, this, &TForm1::N7Click);
    onEvent(ui->N8, &QAction::triggered, this, &TForm1::N8Click);
    onEvent(ui->N9, &QAction::triggered, this, &TForm1::N9Click);
    onEvent(ui->N11, &QAction::triggered, this, &TForm1::N11Click);
    onEvent(ui->N12, &QAction::triggered, this, &TForm1::N12Click);
    onEvent(ui->N13, &QAction::triggered, this, &TForm1::N13Click);
    onEvent(ui->N15, &QAction::triggered, this, &TForm1::N15Click);
    onEvent(ui->N16, &QAction::triggered, this, &TForm1::N16Click);
    onEvent(ui->N17, &QAction::triggered, this, &TForm1::N17Click);
    onEvent(ui->N18, &QAction::triggered, this, &TForm1::N18Click);
    onEvent(ui->N19, &QAction::triggered, this, &TForm1::N19Click);
    onEvent(ui->ToolButton1, &QAction::triggered, this, &TForm1::ToolButton1Click);
    onEvent(ui->ToolButton3, &QAction::triggered, this, &TForm1::ToolButton3Click);
    onEvent(ui->ToolButton5, &QAction::triggered, this, &TForm1::ToolButton5Click);
    onEvent(ui->ToolButton7, &QAction::triggered, this, &TForm1::ToolButton7Click);
    onEvent(ui->ToolButton9, &QAction::triggered, this, &TForm1::ToolButton9Click);
    onEvent(ui->ToolButton11, &QAction::triggered, this, &TForm1::ToolButton11Click);
    onEvent(ui->ToolButton13, &QAction::triggered, this, &TForm1::ToolButton13Click);
}

// A tool bar's buttons take the size of their pictures and its separators the style's width;
// the main window's are fixed. The tool tip also names the button for assistive technology,
// since its caption is never shown.
void TForm1::sizeToolButtons()
{
    for (QAction *action : ui->ToolBar1->actions()) {
        QWidget *item = ui->ToolBar1->widgetForAction(action);
        if (!item)
            continue;
        if (action->isSeparator()) {
            item->setFixedWidth(SeparatorWidth);
        } else {
            item->setFixedSize(ToolButtonSize);
            item->setAccessibleName(action->toolTip());
        }
    }
}

// The picture is decoration only: if it cannot be read the background colour shows instead.
void TForm1::loadPicture()
{
    try {
        QFile file(QStringLiteral(":/assets/background.jpg"));
        if (!file.open(QIODevice::ReadOnly))
            throw Error(file.errorString());
        ui->Image1->setPixmap(QPixmap::fromImage(decodeJpeg(file.readAll())));
    } catch (const Error &error) {
        qWarning("The background picture was not shown: %s", qPrintable(error.text()));
    }
}

void TForm1::open(QDialog &screen) { showModal(screen); }

void TForm1::N2Click()
{
    if (Database1.connected())
        return;
    TForm2 &dialog = m_windows.form2();
    if (showModal(dialog) != mrYes)
        return;
    Database1.clearParams();
    Database1.appendParam(QStringLiteral("USER NAME=") + dialog.userName());
    Database1.appendParam(QStringLiteral("DATABASE NAME=") + dialog.databaseName());
    Database1.appendParam(QStringLiteral("PASSWORD=") + dialog.password());
    Database1.setConnected(true);
}

void TForm1::N3Click()
{
    if (Database1.connected())
        Database1.setConnected(false);
}

void TForm1::N5Click() { open(m_windows.form3()); }
void TForm1::N6Click() { open(m_windows.form4()); }
void TForm1::N7Click() { open(m_windows.form8()); }
void TForm1::N8Click() { open(m_windows.form9()); }
void TForm1::N9Click() { open(m_windows.form10()); }
void TForm1::N11Click() { open(m_windows.form7()); }
void TForm1::N12Click() { open(m_windows.form11()); }
void TForm1::N13Click() { open(m_windows.form13()); }
void TForm1::N15Click() { open(m_windows.form14()); }
void TForm1::N16Click() { open(m_windows.form15()); }
void TForm1::N17Click() { open(m_windows.form12()); }
void TForm1::N18Click() { open(m_windows.form16()); }
void TForm1::N19Click() { close(); }
void TForm1::ToolButton1Click() { open(m_windows.form7()); }
void TForm1::ToolButton3Click() { open(m_windows.form11()); }
void TForm1::ToolButton5Click() { open(m_windows.form13()); }
void TForm1::ToolButton7Click() { open(m_windows.form15()); }
void TForm1::ToolButton9Click() { open(m_windows.form14()); }
void TForm1::ToolButton11Click() { open(m_windows.form12()); }
void TForm1::ToolButton13Click() { open(m_windows.form16()); }

} // namespace coop
