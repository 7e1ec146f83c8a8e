#include "form16.h"
#include "form22.h"

#include "data/format.h"
#include "data/query.h"
#include "screens/screenhelpers.h"
#include "widgets/dbgrid.h"
#include "widgets/handler.h"
#include "widgets/keyfilteredit.h"
#include "widgets/messages.h"


namespace coop {

namespace {

const QStringList EntriesStatement = {
    QStringLiteral("Select vurychka.id, vurychka.IdMagazuny, vurychka.IdSpivrobitnuka, vurychka.Syma, vurychka.Data, "
                   "magazunu.id, spivrobitnuku.PIB"),
    QStringLiteral("From vurychka, magazunu, spivrobitnuku"),
    QStringLiteral("Where vurychka.IdMagazuny = magazunu.Id AND vurychka.idSpivrobitnuka = spivrobitnuku.id"),
};

} // namespace

TForm16::TForm16(Database &database, QWidget *parent)
    : DocumentScreen(parent), Query1(makeQuery(database, "Query1")), Query2(makeQuery(database, "Query2")),
      Query3(makeQuery(database, "Query3")), Query4(makeQuery(database, "Query4"))
{
    setupUi(this);

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
    Query3Syma = Query3->addField({QStringLiteral("Syma"), FieldType::Float, 0, QStringLiteral("Сума")});
    Query3Data = Query3->addField({QStringLiteral("Data"), FieldType::Date, 0, QStringLiteral("Дата")});
    Query3->addField({QStringLiteral("id_1"), FieldType::Integer, 0, QString(), 0, false});

    DBGrid1->setQuery(Query1);
    DBGrid2->setQuery(Query3);
    attachKeyFilter(Edit1, CommaDecimalFilter);

    Roles roles;
    roles.header = Query1;
    roles.lines = Query3;
    roles.headerGrid = DBGrid1;
    roles.linesStatement = EntriesStatement;
    roles.linesCondition = QStringLiteral("and vurychka.IdMagazuny=");
    // The employee box stays enabled in every state: it is not among the panel's controls.
    roles.linesPanel = Panel{BitBtn1, BitBtn2, BitBtn3, BitBtn4, BitBtn5,
                             {Edit1, DateTimePicker1, Label1, Label2, Label5}, EditMode::Insert, EditMode::Update, QStringLiteral("Увага!!!"),
                             /*keepUpdatedRowCurrent=*/false};
    roles.filter = DateFilter{Query3, QStringLiteral("Data"), DateTimePicker2, DateTimePicker3, BitBtn7};
    roles.close = BitBtn6;
    roles.escCancelsPanel = false;
    setRoles(roles);

    onEvent(BitBtn8, &QPushButton::clicked, this, &TForm16::BitBtn8Click);
}

void TForm16::reach(TForm22 &chart) { m_chart = &chart; }

void TForm16::FormActivate()
{
    clearLinePanel();
    enterState(State::Browsing);
    DBGrid1->setFocus();
}

void TForm16::prepareLinePanel(bool editing)
{
    fillIdComboBox(*ComboBox1, *Query2, QStringLiteral("SELECT* FROM spivrobitnuku"), QStringLiteral("PIB"));
    if (!editing) {
        DateTimePicker1->setDate(QDate::currentDate());
        return;
    }
    selectId(*ComboBox1, Query3->fieldByName(QStringLiteral("IdSpivrobitnuka"))->asString());
    Edit1->setText(Query3Syma->asString());
    // An entry without a date cannot be edited: the error names the empty text and the panel stays closed.
    DateTimePicker1->setDate(ReadLocaleDate(Query3Data->asString()));
}

bool TForm16::writeLine(bool inserting)
{
    const std::optional<QString> employee = chosenId(*ComboBox1);
    // An employee typed by hand that names no entry has no id to write, in either mode.
    if ((inserting && (ComboBox1->currentText().isEmpty() || Edit1->text().isEmpty())) || !employee) {
        refuse(QStringLiteral("Введіть коректні дані"));
        return false;
    }
    const QString sum = QuoteSqlText(FormatSqlNumber(ReadTypedNumber(Edit1->text())));
    const QString date = QuoteSqlText(FormatSqlDate(DateTimePicker1->date()));
    if (inserting) {
        runStatement(*Query4, QStringLiteral("INSERT INTO vurychka (IdSpivrobitnuka, Syma, Data, IdMagazuny) values ('") + *employee
                         + QStringLiteral("',") + sum + u',' + date + u',' + Query1->fieldByName(QStringLiteral("Id"))->asString() + u')');
        return true;
    }
    // The entry keeps its shop.
    runStatement(*Query4, QStringLiteral("UPDATE vurychka Set IdSpivrobitnuka=") + *employee + QStringLiteral(", Syma=") + sum
                     + QStringLiteral(", Data=") + date + QStringLiteral(" WHERE vurychka.Id=")
                     + Query3->fieldByName(QStringLiteral("id"))->asString());
    return true;
}

void TForm16::clearLinePanel()
{
    Edit1->clear();
    ComboBox1->setEditText(QString());
    DateTimePicker1->setDate(QDate::currentDate());
}

void TForm16::deleteLine(const QString &id)
{
    runStatement(*Query4, QStringLiteral("DELETE FROM vurychka WHERE vurychka.id=") + id + u';');
}

void TForm16::BitBtn8Click()
{
    if (m_chart)
        showModal(*m_chart);
}

} // namespace coop
