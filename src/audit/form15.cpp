#include "form15.h"
#include "quantitytext.h"

#include "data/format.h"
#include "data/query.h"
#include "screens/goodsline.h"
#include "screens/screenhelpers.h"
#include "ui_form15.h"
#include "widgets/handler.h"
#include "widgets/keyfilteredit.h"

namespace coop {

namespace {

const QStringList LinesStatement = {
    QStringLiteral("Select pozuciireviziibazu.id, pozuciireviziibazu.IdRevizii, pozuciireviziibazu.Idtovary, "
                   "pozuciireviziibazu.Kilkist, pozuciireviziibazu.Cina, reviziyabazu.id, tovary.NazvaTovary"),
    QStringLiteral("From pozuciireviziibazu, reviziyabazu, tovary"),
    QStringLiteral("Where pozuciireviziibazu.IdRevizii = reviziyabazu.id AND pozuciireviziibazu.IdTovary = tovary.Id"),
};

} // namespace

// The audit panel: the auditor chosen from the employees, the basis document, the date.
class TForm15::AuditHeader final : public PanelSteps
{
public:
    AuditHeader(TForm15 &screen) : m_screen(screen), ui(*screen.ui) {}

    void prepare(bool editing) override
    {
        const Query &audits = *m_screen.Query1;
        fillIdComboBox(*ui.ComboBox1, *m_screen.Query2, QStringLiteral("SELECT* FROM spivrobitnuku"), QStringLiteral("PIB"));
        if (!editing) {
            ui.DateTimePicker1->setDate(QDate::currentDate());
            return;
        }
        selectId(*ui.ComboBox1, audits.fieldByName(QStringLiteral("IdSpivrobitnuka"))->asString());
        ui.Edit1->setText(audits.fieldByName(QStringLiteral("Dokyment"))->asString());
        // An audit without a date cannot be edited: the error names the empty text and the panel stays closed.
        ui.DateTimePicker1->setDate(ReadLocaleDate(audits.fieldByName(QStringLiteral("DataRevizii"))->asString()));
    }

    bool write(bool inserting) override
    {
        const std::optional<QString> employee = chosenId(*ui.ComboBox1);
        // An auditor typed by hand that names no entry has no id to write, in either mode.
        if ((inserting && (ui.ComboBox1->currentText().isEmpty() || ui.Edit1->text().isEmpty())) || !employee) {
            refuse(QStringLiteral("Введіть коректні дані"));
            return false;
        }
        const QString document = QuoteSqlText(ui.Edit1->text());
        const QString date = QuoteSqlText(FormatSqlDate(ui.DateTimePicker1->date()));
        if (inserting)
            runStatement(*m_screen.Query4, QStringLiteral("INSERT INTO reviziyabazu (IdSpivrobitnuka, Dokyment, DataRevizii) values ('")
                                               + *employee + QStringLiteral("',") + document + u',' + date + u')');
        else
            runStatement(*m_screen.Query4, QStringLiteral("UPDATE reviziyabazu Set IdSpivrobitnuka=") + *employee
                                               + QStringLiteral(", dokyment=") + document + QStringLiteral(", Datarevizii=") + date
                                               + QStringLiteral(" WHERE reviziyabazu.Id=")
                                               + m_screen.Query1->fieldByName(QStringLiteral("id"))->asString());
        return true;
    }

    void clear() override
    {
        // Accepting or cancelling an audit empties the line panel's texts too.
        ui.ComboBox1->setEditText(QString());
        ui.Edit1->clear();
        ui.DateTimePicker1->setDate(QDate::currentDate());
        m_screen.m_lines->clear();
    }

    void remove(const QString &id) override
    {
        // The audit's lines stay in their table.
        runStatement(*m_screen.Query2, QStringLiteral("DELETE from reviziyabazu Where Id=") + id);
    }

private:
    TForm15 &m_screen;
    Ui::TForm15 &ui;
};

TForm15::TForm15(Database &database, QWidget *parent)
    : DocumentScreen(parent), Query1(makeQuery(database, "Query1")), Query2(makeQuery(database, "Query2")),
      Query3(makeQuery(database, "Query3")), Query4(makeQuery(database, "Query4")), ui(std::make_unique<Ui::TForm15>())
{
    ui->setupUi(this);

    Query1->sql().setLines({QStringLiteral("Select reviziyabazu.id, reviziyabazu.IdSpivrobitnuka, reviziyabazu.Dokyment, "
                                           "reviziyabazu.DataRevizii, spivrobitnuku.PIB"),
                            QStringLiteral("From reviziyabazu, spivrobitnuku"),
                            QStringLiteral("Where reviziyabazu.IdSpivrobitnuka = spivrobitnuku.id ")});
    Query1->addField({QStringLiteral("id"), FieldType::Integer, 0, QString(), 0, false});
    Query1->addField({QStringLiteral("IdSpivrobitnuka"), FieldType::Integer, 0, QString(), 0, false});
    Query1->addField({QStringLiteral("PIB"), FieldType::String, 40, QStringLiteral("Перевіряючий"), 30});
    Query1->addField({QStringLiteral("Dokyment"), FieldType::String, 32, QStringLiteral("Документ-підстава"), 25});
    Query1->addField({QStringLiteral("DataRevizii"), FieldType::Date, 0, QStringLiteral("Дата ревізії"), 16});

    // In force only while there is no audit, and then it yields no rows.
    Query3->sql().setLines({QStringLiteral("Select pozuciireviziibazu.id, pozuciireviziibazu.IdRevizii, pozuciireviziibazu.Idtovary, "
                                           "pozuciireviziibazu.Kilkist, pozuciireviziibazu.Cina, reviziyabazu.id, tovary.NazvaTovary, "
                                           "baza.idTovary, baza.id, baza.KilkistNaBazi"),
                            QStringLiteral("From pozuciireviziibazu, reviziyabazu, tovary, baza"),
                            QStringLiteral("Where pozuciireviziibazu.IdRevizii = reviziyabazu.id AND pozuciireviziibazu.IdTovary = "
                                           "tovary.Id AND baza.IdTovary = pozuciireviziibazu.IdTovary ")});
    Query3->addField({QStringLiteral("id"), FieldType::Integer, 0, QString(), 0, false});
    Query3->addField({QStringLiteral("NazvaTovary"), FieldType::String, 40, QStringLiteral("Назва товару"), 36});
    Query3->addField({QStringLiteral("IdRevizii"), FieldType::Integer, 0, QString(), 0, false});
    Query3->addField({QStringLiteral("Idtovary"), FieldType::Integer, 0, QString(), 0, false});
    Query3Kilkist = Query3->addField({QStringLiteral("Kilkist"), FieldType::Float, 0, QStringLiteral("Кількість")});
    Query3Cina = Query3->addField({QStringLiteral("Cina"), FieldType::Float, 0, QStringLiteral("Ціна")});
    Query3->addField({QStringLiteral("id_1"), FieldType::Integer, 0, QString(), 0, false});
    Query3Suma = Query3->addField({QStringLiteral("Suma"), FieldType::Float, 0, QStringLiteral("Сума"), 12, true, FieldKind::Calculated});

    ui->DBGrid1->setQuery(Query1);
    ui->DBGrid2->setQuery(Query3);
    attachKeyFilter(ui->Edit2, DigitsOnlyFilter);
    attachKeyFilter(ui->Edit3, CommaDecimalFilter);

    m_lines = std::make_unique<GoodsLinePanel>(
        GoodsLineEntries{ui->ComboBox2, ui->Edit2, ui->Edit3},
        GoodsLineFields{.id = Query3->fieldByName(QStringLiteral("id")), .goods = Query3->fieldByName(QStringLiteral("Idtovary")),
                        .quantity = Query3Kilkist, .price = Query3Cina, .header = Query1->fieldByName(QStringLiteral("id"))},
        GoodsLineTable{.table = QStringLiteral("pozuciireviziibazu"), .insertPrice = QStringLiteral("Cina"), .updatePrice = QStringLiteral("cina"),
                       .header = QStringLiteral("IdRevizii"), .quantityText = AuditQuantityText},
        *Query2, *Query4);
    m_header = std::make_unique<AuditHeader>(*this);

    Roles roles;
    roles.header = Query1;
    roles.lines = Query3;
    roles.headerGrid = ui->DBGrid1;
    roles.linesGrid = ui->DBGrid2;
    roles.linesStatement = LinesStatement;
    roles.linesCondition = QStringLiteral("and pozuciireviziibazu.IdRevizii=");
    roles.headerPanel = Panel{m_header.get(), ui->BitBtn1, ui->BitBtn2, ui->BitBtn3, ui->BitBtn4, ui->BitBtn5,
                              {ui->ComboBox1, ui->Edit1, ui->DateTimePicker1, ui->Label1, ui->Label2, ui->Label3},
                              EditMode::Insert, EditMode::Update, QStringLiteral("Видалення")};
    roles.linesPanel = Panel{m_lines.get(), ui->BitBtn6, ui->BitBtn7, ui->BitBtn8, ui->BitBtn9, ui->BitBtn10,
                             {ui->ComboBox2, ui->Edit2, ui->Edit3, ui->Label4, ui->Label5, ui->Label6},
                             EditMode::InsertLine, EditMode::UpdateLine, QStringLiteral("Увага!!!")};
    roles.filter = DateFilter{Query1, QStringLiteral("DataRevizii"), ui->DateTimePicker2, ui->DateTimePicker3, ui->BitBtn13};
    roles.close = ui->BitBtn11;
    roles.escCancelsPanel = false;
    setRoles(roles);

    onEvent(Query3, QueryEvent::CalcFields, this, &TForm15::Query3CalcFields);
    onEvent(ui->BitBtn12, &QPushButton::clicked, this, &TForm15::BitBtn12Click);
}

TForm15::~TForm15() = default;

void TForm15::reach(std::function<void()> previewAct) { m_previewAct = std::move(previewAct); }

void TForm15::Query3CalcFields() { Query3Suma->setValue(Query3Kilkist->asFloat() * Query3Cina->asFloat()); }

void TForm15::BitBtn12Click() { previewDocument(QStringLiteral("Введіть дані про ревізію"), m_previewAct); }

} // namespace coop
