#include "form15.h"
#include "quantitytext.h"

#include "data/format.h"
#include "data/query.h"
#include "screens/goodsline.h"
#include "screens/screenhelpers.h"
#include "widgets/handler.h"
#include "widgets/keyfilteredit.h"
#include "widgets/messages.h"


namespace coop {

namespace {

const QStringList LinesStatement = {
    QStringLiteral("Select pozuciireviziibazu.id, pozuciireviziibazu.IdRevizii, pozuciireviziibazu.Idtovary, "
                   "pozuciireviziibazu.Kilkist, pozuciireviziibazu.Cina, reviziyabazu.id, tovary.NazvaTovary"),
    QStringLiteral("From pozuciireviziibazu, reviziyabazu, tovary"),
    QStringLiteral("Where pozuciireviziibazu.IdRevizii = reviziyabazu.id AND pozuciireviziibazu.IdTovary = tovary.Id"),
};

} // namespace

TForm15::TForm15(Database &database, QWidget *parent)
    : DocumentScreen(parent), Query1(makeQuery(database, "Query1")), Query2(makeQuery(database, "Query2")),
      Query3(makeQuery(database, "Query3")), Query4(makeQuery(database, "Query4"))
{
    setupUi(this);

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

    DBGrid1->setQuery(Query1);
    DBGrid2->setQuery(Query3);
    attachKeyFilter(Edit2, DigitsOnlyFilter);
    attachKeyFilter(Edit3, CommaDecimalFilter);

    m_goodsLine = {ComboBox2, Edit2, Edit3};
    m_lineFields = {Query3->fieldByName(QStringLiteral("Idtovary")), Query3Kilkist, Query3Cina};

    Roles roles;
    roles.header = Query1;
    roles.lines = Query3;
    roles.headerGrid = DBGrid1;
    roles.linesStatement = LinesStatement;
    roles.linesCondition = QStringLiteral("and pozuciireviziibazu.IdRevizii=");
    roles.headerPanel = Panel{BitBtn1, BitBtn2, BitBtn3, BitBtn4, BitBtn5,
                              {ComboBox1, Edit1, DateTimePicker1, Label1, Label2, Label3}, EditMode::Insert, EditMode::Update,
                              QStringLiteral("Видалення")};
    roles.linesPanel = Panel{BitBtn6, BitBtn7, BitBtn8, BitBtn9, BitBtn10,
                             {ComboBox2, Edit2, Edit3, Label4, Label5, Label6}, EditMode::InsertLine, EditMode::UpdateLine, QStringLiteral("Увага!!!")};
    roles.filter = DateFilter{Query1, QStringLiteral("DataRevizii"), DateTimePicker2, DateTimePicker3, BitBtn13};
    roles.close = BitBtn11;
    roles.escCancelsPanel = false;
    setRoles(roles);

    onEvent(Query3, QueryEvent::CalcFields, this, &TForm15::Query3CalcFields);
    onEvent(BitBtn12, &QPushButton::clicked, this, &TForm15::BitBtn12Click);
}

void TForm15::reach(std::function<void()> previewAct) { m_previewAct = std::move(previewAct); }

void TForm15::Query3CalcFields() { Query3Suma->setValue(Query3Kilkist->asFloat() * Query3Cina->asFloat()); }

// --- audits ----------------------------------------------------------------------------------

void TForm15::prepareHeaderPanel(bool editing)
{
    fillIdComboBox(*ComboBox1, *Query2, QStringLiteral("SELECT* FROM spivrobitnuku"), QStringLiteral("PIB"));
    if (!editing) {
        DateTimePicker1->setDate(QDate::currentDate());
        return;
    }
    selectId(*ComboBox1, Query1->fieldByName(QStringLiteral("IdSpivrobitnuka"))->asString());
    Edit1->setText(Query1->fieldByName(QStringLiteral("Dokyment"))->asString());
    // An audit without a date cannot be edited: the error names the empty text and the panel stays closed.
    DateTimePicker1->setDate(ReadLocaleDate(Query1->fieldByName(QStringLiteral("DataRevizii"))->asString()));
}

bool TForm15::writeHeader(bool inserting)
{
    const std::optional<QString> employee = chosenId(*ComboBox1);
    // An auditor typed by hand that names no entry has no id to write, in either mode.
    if ((inserting && (ComboBox1->currentText().isEmpty() || Edit1->text().isEmpty())) || !employee) {
        refuse(QStringLiteral("Введіть коректні дані"));
        return false;
    }
    const QString document = QuoteSqlText(Edit1->text());
    const QString date = QuoteSqlText(FormatSqlDate(DateTimePicker1->date()));
    if (inserting)
        runStatement(*Query4, QStringLiteral("INSERT INTO reviziyabazu (IdSpivrobitnuka, Dokyment, DataRevizii) values ('") + *employee
                         + QStringLiteral("',") + document + u',' + date + u')');
    else
        runStatement(*Query4, QStringLiteral("UPDATE reviziyabazu Set IdSpivrobitnuka=") + *employee + QStringLiteral(", dokyment=")
                         + document + QStringLiteral(", Datarevizii=") + date + QStringLiteral(" WHERE reviziyabazu.Id=")
                         + Query1->fieldByName(QStringLiteral("id"))->asString());
    return true;
}

void TForm15::clearHeaderPanel()
{
    // Accepting or cancelling an audit empties the line panel's texts too.
    ComboBox1->setEditText(QString());
    Edit1->clear();
    DateTimePicker1->setDate(QDate::currentDate());
    clearLinePanel();
}

void TForm15::deleteHeader(const QString &id)
{
    // The audit's lines stay in their table.
    runStatement(*Query2, QStringLiteral("DELETE from reviziyabazu Where Id=") + id);
}

// --- lines -----------------------------------------------------------------------------------

void TForm15::prepareLinePanel(bool editing) { prepareGoodsLine(m_goodsLine, *Query2, editing, m_lineFields); }

bool TForm15::writeLine(bool inserting)
{
    const std::optional<QString> goods = checkedGoods(m_goodsLine, inserting);
    if (!goods)
        return false;
    const QString price = QuoteSqlText(FormatSqlNumber(ReadTypedNumber(Edit3->text())));
    const QString quantity = QuoteSqlText(AuditQuantityText(Edit2->text()));
    const QString audit = Query1->fieldByName(QStringLiteral("id"))->asString();
    if (inserting)
        runStatement(*Query4, QStringLiteral("INSERT INTO pozuciireviziibazu (IdTovary,kilkist,Cina,IdRevizii) values ('") + *goods
                         + QStringLiteral("',") + quantity + u',' + price + u',' + audit + u')');
    else
        runStatement(*Query4, QStringLiteral("UPDATE pozuciireviziibazu Set IdTovary=") + *goods + QStringLiteral(", kilkist=") + quantity
                         + QStringLiteral(", cina=") + price + QStringLiteral(", IdRevizii=") + audit
                         + QStringLiteral(" WHERE pozuciireviziibazu.Id=") + Query3->fieldByName(QStringLiteral("id"))->asString());
    return true;
}

void TForm15::clearLinePanel() { clearGoodsLine(m_goodsLine); }

void TForm15::deleteLine(const QString &id)
{
    runStatement(*Query4, QStringLiteral("DELETE FROM pozuciireviziibazu WHERE pozuciireviziibazu.id=") + id + u';');
}

void TForm15::BitBtn12Click() { previewDocument(QStringLiteral("Введіть дані про ревізію"), m_previewAct); }

} // namespace coop
