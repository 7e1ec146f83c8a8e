#include "form16.h"
#include "form22.h"

#include "data/format.h"
#include "data/query.h"
#include "screens/screenhelpers.h"
#include "ui_form16.h"
#include "widgets/dbgrid.h"
#include "widgets/handler.h"
#include "widgets/keyfilteredit.h"

namespace coop {

namespace {

const QStringList EntriesStatement = {
    QStringLiteral("Select vurychka.id, vurychka.IdMagazuny, vurychka.IdSpivrobitnuka, vurychka.Syma, vurychka.Data, "
                   "magazunu.id, spivrobitnuku.PIB"),
    QStringLiteral("From vurychka, magazunu, spivrobitnuku"),
    QStringLiteral("Where vurychka.IdMagazuny = magazunu.Id AND vurychka.idSpivrobitnuka = spivrobitnuku.id"),
};

} // namespace

// The entry panel: the employee who handed the sum in, the sum, the date. An entry keeps its shop.
class TForm16::RevenueEntry final : public PanelSteps
{
public:
    RevenueEntry(TForm16 &screen) : m_screen(screen), ui(*screen.ui) {}

    void prepare(bool editing) override
    {
        const Query &entries = *m_screen.Query3;
        fillIdComboBox(*ui.ComboBox1, *m_screen.Query2, QStringLiteral("SELECT* FROM spivrobitnuku"), QStringLiteral("PIB"));
        if (!editing) {
            ui.DateTimePicker1->setDate(QDate::currentDate());
            return;
        }
        selectId(*ui.ComboBox1, entries.fieldByName(QStringLiteral("IdSpivrobitnuka"))->asString());
        ui.Edit1->setText(entries.fieldByName(QStringLiteral("Syma"))->asString());
        // An entry without a date cannot be edited: the error names the empty text and the panel stays closed.
        ui.DateTimePicker1->setDate(ReadLocaleDate(entries.fieldByName(QStringLiteral("Data"))->asString()));
    }

    bool write(bool inserting) override
    {
        const std::optional<QString> employee = chosenId(*ui.ComboBox1);
        // An employee typed by hand that names no entry has no id to write, in either mode.
        if ((inserting && (ui.ComboBox1->currentText().isEmpty() || ui.Edit1->text().isEmpty())) || !employee) {
            refuse(QStringLiteral("Введіть коректні дані"));
            return false;
        }
        const QString sum = QuoteSqlText(FormatSqlNumber(ReadTypedNumber(ui.Edit1->text())));
        const QString date = QuoteSqlText(FormatSqlDate(ui.DateTimePicker1->date()));
        if (inserting)
            runStatement(*m_screen.Query4, QStringLiteral("INSERT INTO vurychka (IdSpivrobitnuka, Syma, Data, IdMagazuny) values ('")
                                               + *employee + QStringLiteral("',") + sum + u',' + date + u','
                                               + m_screen.Query1->fieldByName(QStringLiteral("Id"))->asString() + u')');
        else
            runStatement(*m_screen.Query4, QStringLiteral("UPDATE vurychka Set IdSpivrobitnuka=") + *employee + QStringLiteral(", Syma=")
                                               + sum + QStringLiteral(", Data=") + date + QStringLiteral(" WHERE vurychka.Id=")
                                               + m_screen.Query3->fieldByName(QStringLiteral("id"))->asString());
        return true;
    }

    void clear() override
    {
        ui.Edit1->clear();
        ui.ComboBox1->setEditText(QString());
        ui.DateTimePicker1->setDate(QDate::currentDate());
    }

    void remove(const QString &id) override
    {
        runStatement(*m_screen.Query4, QStringLiteral("DELETE FROM vurychka WHERE vurychka.id=") + id + u';');
    }

private:
    TForm16 &m_screen;
    Ui::TForm16 &ui;
};

TForm16::TForm16(Database &database, QWidget *parent)
    : DocumentScreen(parent), Query1(makeQuery(database, "Query1")), Query2(makeQuery(database, "Query2")),
      Query3(makeQuery(database, "Query3")), Query4(makeQuery(database, "Query4")), ui(std::make_unique<Ui::TForm16>()),
      m_entry(std::make_unique<RevenueEntry>(*this))
{
    ui->setupUi(this);

    Query1->sql().setLines({QStringLiteral("Select *"), QStringLiteral("From magazunu")});
    Query1->addField({QStringLiteral("Id"), FieldType::Integer, 0, QString(), 0, false});
    Query1->addField({QStringLiteral("NazvaMagazuny"), FieldType::String, 32, QStringLiteral("Назва магазину"), 25});
    Query1->addField({QStringLiteral("AdresaMagazuny"), FieldType::String, 40, QString(), 0, false});
    Query1->addField({QStringLiteral("IdSpivrobitnuka"), FieldType::Integer, 0, QString(), 0, false});

    // Until the first shop is current the entries are those of no shop in particular; the join with
    // the shops gives none while there are no shops.
    Query3->sql().setLines(EntriesStatement);
    Query3->addField({QStringLiteral("id"), FieldType::Integer, 0, QString(), 0, false});
    Query3->addField({QStringLiteral("IdMagazuny"), FieldType::Integer, 0, QString(), 0, false});
    Query3->addField({QStringLiteral("IdSpivrobitnuka"), FieldType::Integer, 0, QString(), 0, false});
    Query3->addField({QStringLiteral("PIB"), FieldType::String, 40, QStringLiteral("Співробітник")});
    Query3->addField({QStringLiteral("Syma"), FieldType::Float, 0, QStringLiteral("Сума")});
    Query3->addField({QStringLiteral("Data"), FieldType::Date, 0, QStringLiteral("Дата")});
    Query3->addField({QStringLiteral("id_1"), FieldType::Integer, 0, QString(), 0, false});

    ui->DBGrid1->setQuery(Query1);
    ui->DBGrid2->setQuery(Query3);
    attachKeyFilter(ui->Edit1, CommaDecimalFilter);

    Roles roles;
    roles.header = Query1;
    roles.lines = Query3;
    roles.headerGrid = ui->DBGrid1;
    roles.linesGrid = ui->DBGrid2;
    roles.linesStatement = EntriesStatement;
    roles.linesCondition = QStringLiteral("and vurychka.IdMagazuny=");
    // The employee box stays enabled in every state: it is not among the panel's controls.
    roles.linesPanel = Panel{m_entry.get(), ui->BitBtn1, ui->BitBtn2, ui->BitBtn3, ui->BitBtn4, ui->BitBtn5,
                             {ui->Edit1, ui->DateTimePicker1, ui->Label1, ui->Label2, ui->Label5},
                             EditMode::Insert, EditMode::Update, QStringLiteral("Увага!!!"), /*keepUpdatedRowCurrent=*/false};
    roles.filter = DateFilter{Query3, QStringLiteral("Data"), ui->DateTimePicker2, ui->DateTimePicker3, ui->BitBtn7};
    roles.close = ui->BitBtn6;
    roles.escCancelsPanel = false;
    setRoles(roles);

    onEvent(ui->BitBtn8, &QPushButton::clicked, this, &TForm16::BitBtn8Click);
}

TForm16::~TForm16() = default;

void TForm16::reach(TForm22 &chart) { m_chart = &chart; }

void TForm16::FormActivate()
{
    m_entry->clear();
    enterState(State::Browsing);
    ui->DBGrid1->setFocus();
}

void TForm16::BitBtn8Click()
{
    if (m_chart)
        showModal(*m_chart);
}

} // namespace coop
