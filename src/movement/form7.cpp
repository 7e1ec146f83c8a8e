#include "form7.h"

#include "data/database.h"
#include "data/format.h"
#include "data/query.h"
#include "data/stockjournal.h"
#include "movement/linequantities.h"
#include "screens/goodsline.h"
#include "screens/partyheader.h"
#include "screens/screenhelpers.h"
#include "screens/stockview.h"
#include "widgets/handler.h"
#include "widgets/keyfilteredit.h"
#include "widgets/messages.h"

namespace coop {

namespace {

const QStringList LinesStatement = {
    QStringLiteral("Select chonadishlo.id, chonadishlo.IdTovary, chonadishlo.idNadhodgennya, chonadishlo.Kilkist, "
                   "chonadishlo.Cina, nadhodgennya.id, tovary.NazvaTovary"),
    QStringLiteral("From chonadishlo, nadhodgennya, tovary"),
    QStringLiteral("Where chonadishlo.IdTovary = Tovary.Id AND chonadishlo.Idnadhodgennya = nadhodgennya.Id"),
};
// The text the lines query holds until the first header is current; it spells the header column
// as the table does, where the rebuilt text does not.
const QStringList StoredLinesStatement = {
    QStringLiteral("Select chonadishlo.id, chonadishlo.IdTovary, chonadishlo.IdNadhodgennya, chonadishlo.Kilkist, "
                   "chonadishlo.Cina, nadhodgennya.id, tovary.NazvaTovary"),
    LinesStatement[1],
    LinesStatement[2],
};

} // namespace

TForm7::TForm7(Database &database, QWidget *parent)
    : DocumentScreen(parent), Query1(makeQuery(database, "Query1")), Query2(makeQuery(database, "Query2")),
      Query3(makeQuery(database, "Query3")), Query4(makeQuery(database, "Query4")), Query5(makeQuery(database, "Query5")),
      Query6(makeQuery(database, "Query6"))
{
    setupUi(this);

    Query1->sql().setLines({QStringLiteral("Select nadhodgennya.id, postachalnuku.nazvaPostachalnuka, spivrobitnuku.PIB, "
                                           "nadhodgennya.DataNadhodgenya, nadhodgennya.IdPostachalnuka, nadhodgennya.IdSpivrobitnuka"),
                            QStringLiteral("From nadhodgennya, postachalnuku, spivrobitnuku"),
                            QStringLiteral("Where nadhodgennya.IdPostachalnuka = postachalnuku.id AND "
                                           "nadhodgennya.IdSpivrobitnuka = spivrobitnuku.id")});
    Query1->addField({QStringLiteral("id"), FieldType::Integer, 0, QStringLiteral("Код"), 6, false});
    Query1->addField({QStringLiteral("nazvaPostachalnuka"), FieldType::String, 50, QStringLiteral("Постачальник"), 36});
    Query1->addField({QStringLiteral("PIB"), FieldType::String, 40, QStringLiteral("Співробітник"), 32});
    Query1->addField({QStringLiteral("DataNadhodgenya"), FieldType::Date, 0, QStringLiteral("Дата"), 14});
    Query1->addField({QStringLiteral("IdPostachalnuka"), FieldType::Integer, 0, QString(), 0, false});
    Query1->addField({QStringLiteral("IdSpivrobitnuka"), FieldType::Integer, 0, QString(), 0, false});

    Query3->sql().setLines(StoredLinesStatement);
    Query3->addField({QStringLiteral("id"), FieldType::Integer, 0, QStringLiteral("Код"), 0, false});
    Query3->addField({QStringLiteral("NazvaTovary"), FieldType::String, 40, QStringLiteral("Назва товару"), 35});
    Query3Kilkist = Query3->addField({QStringLiteral("Kilkist"), FieldType::Float, 0, QStringLiteral("Кількість"), 14});
    Query3Cina = Query3->addField({QStringLiteral("Cina"), FieldType::Float, 0, QStringLiteral("Ціна"), 14});
    Query3->addField({QStringLiteral("IdTovary"), FieldType::Integer, 0, QString(), 0, false});
    Query3->addField({QStringLiteral("IdNadhodgennya"), FieldType::Integer, 0, QString(), 0, false});
    Query3->addField({QStringLiteral("id_1"), FieldType::Integer, 0, QString(), 0, false});
    Query3Suma = Query3->addField({QStringLiteral("Suma"), FieldType::Float, 0, QStringLiteral("Сума"), 14, true, FieldKind::Calculated});

    DBGrid1->setQuery(Query1);
    DBGrid2->setQuery(Query3);
    attachKeyFilter(Edit1, DigitsOnlyFilter);
    attachKeyFilter(Edit2, CommaDecimalFilter);

    m_header = {ComboBox1, ComboBox2, DateTimePicker1};
    m_headerSource = {QStringLiteral("postachalnuku"), QStringLiteral("NazvaPostachalnuka"), QStringLiteral("IdPostachalnuka"),
                      QStringLiteral("DataNadhodgenya")};
    m_goodsLine = {ComboBox3, Edit1, Edit2};
    m_lineFields = {Query3->fieldByName(QStringLiteral("IdTovary")), Query3Kilkist, Query3Cina};

    Roles roles;
    roles.header = Query1;
    roles.lines = Query3;
    roles.headerGrid = DBGrid1;
    roles.linesStatement = LinesStatement;
    roles.linesCondition = QStringLiteral("and chonadishlo.IdNadhodgennya=");
    roles.headerPanel = Panel{BitBtn1, BitBtn2, BitBtn3, BitBtn4, BitBtn5,
                              {ComboBox1, ComboBox2, DateTimePicker1, Label1, Label2, Label3}, EditMode::Insert, EditMode::Update,
                              QStringLiteral("Видалення")};
    roles.linesPanel = Panel{BitBtn6, BitBtn7, BitBtn8, BitBtn9, BitBtn10,
                             {ComboBox3, Edit1, Edit2, Label4, Label5, Label6}, EditMode::InsertLine, EditMode::UpdateLine, QStringLiteral("Увага!!!")};
    roles.filter = DateFilter{Query1, QStringLiteral("DataNadhodgenya"), DateTimePicker2, DateTimePicker3, BitBtn11};
    roles.sum = DocumentSum{BitBtn15, BitBtn16, Edit3};
    roles.close = BitBtn12;
    setRoles(roles);

    onEvent(Query3, QueryEvent::CalcFields, this, &TForm7::Query3CalcFields);
    onEvent(BitBtn13, &QPushButton::clicked, this, &TForm7::BitBtn13Click);
    onEvent(BitBtn14, &QPushButton::clicked, this, &TForm7::BitBtn14Click);
    onEvent(BitBtn17, &QPushButton::clicked, this, &TForm7::BitBtn17Click);
}

void TForm7::reach(StockView &stock, std::function<void()> previewInvoice)
{
    m_stock = &stock;
    m_previewInvoice = std::move(previewInvoice);
}

void TForm7::Query3CalcFields() { Query3Suma->setValue(Query3Kilkist->asFloat() * Query3Cina->asFloat()); }

// --- headers ---------------------------------------------------------------------------------

void TForm7::prepareHeaderPanel(bool editing)
{
    preparePartyHeader(m_header, m_headerSource, *Query2, *Query5, editing, *Query1);
}

bool TForm7::writeHeader(bool inserting)
{
    const std::optional<PartyHeaderIds> ids = checkedParties(m_header);
    if (!ids)
        return false;
    const QString date = QuoteSqlText(FormatSqlDate(DateTimePicker1->date()));
    if (inserting)
        runStatement(*Query6, QStringLiteral("INSERT INTO nadhodgennya (IdPostachalnuka, IdSpivrobitnuka, DataNadhodgenya) values ('")
                         + ids->party + QStringLiteral("','") + ids->employee + QStringLiteral("',") + date + u')');
    else
        runStatement(*Query6, QStringLiteral("UPDATE nadhodgennya Set IdPostachalnuka=") + ids->party + QStringLiteral(", IdSpivrobitnuka=")
                         + ids->employee + QStringLiteral(", DataNadhodgenya=") + date + QStringLiteral(" WHERE nadhodgennya.Id=")
                         + Query1->fieldByName(QStringLiteral("id"))->asString());
    return true;
}

void TForm7::clearHeaderPanel() { clearPartyHeader(m_header); }

void TForm7::deleteHeader(const QString &id)
{
    runStatement(*Query2, QStringLiteral("DELETE from nadhodgennya Where Id=") + id);
}

// --- lines -----------------------------------------------------------------------------------

void TForm7::prepareLinePanel(bool editing) { prepareGoodsLine(m_goodsLine, *Query2, editing, m_lineFields); }

bool TForm7::writeLine(bool inserting)
{
    const std::optional<QString> goods = checkedGoods(m_goodsLine, inserting);
    if (!goods)
        return false;
    const QString price = QuoteSqlText(FormatSqlNumber(ReadTypedNumber(Edit2->text())));
    const QString quantity = QuoteSqlText(Edit1->text());
    const QString header = Query1->fieldByName(QStringLiteral("id"))->asString();
    if (inserting)
        runStatement(*Query4, QStringLiteral("INSERT INTO chonadishlo (IdTovary,kilkist,Cina,IdNadhodgennya) values ('") + *goods
                         + QStringLiteral("',") + quantity + u',' + price + u',' + header + u')');
    else
        runStatement(*Query4, QStringLiteral("UPDATE chonadishlo Set IdTovary=") + *goods + QStringLiteral(", kilkist=") + quantity
                         + QStringLiteral(", cina=") + price + QStringLiteral(", IdNadhodgennya=") + header
                         + QStringLiteral(" WHERE chonadishlo.Id=") + Query3->fieldByName(QStringLiteral("id"))->asString());
    return true;
}

void TForm7::clearLinePanel() { clearGoodsLine(m_goodsLine); }

void TForm7::deleteLine(const QString &id)
{
    runStatement(*Query4, QStringLiteral("DELETE FROM chonadishlo WHERE chonadishlo.id=") + id + u';');
}

// --- posting to the base warehouse ----------------------------------------------------------

void TForm7::BitBtn13Click()
{
    if (!Query1->active() || Query1->isEmpty() || !Query3->active() || Query3->isEmpty()) {
        showMessage(QStringLiteral("Введіть дані про постачання"));
        return;
    }
    if (!lineQuantitiesArePositive(*Query3, Query3Kilkist, Query3->fieldByName(QStringLiteral("NazvaTovary"))))
        return;
    StockCommand command(*Query2->database(), StockDocument::Receipt, Query1->fieldByName(QStringLiteral("id"))->asInteger());
    if (!confirmAgain(command.earlierMove(), QStringLiteral("Це надходження вже оприбутковане на склад %1. Оприбуткувати ще раз?")))
        return;
    // All lines or none, with their journal rows: a failure anywhere leaves the base stock as it was.
    if (command.run([&] { postLines(command); }) == StockCommand::Outcome::DoneDespiteLostCommit)
        showMessage(command.doneDespiteLostCommitText());
    command.refreshAfter([&] {
        reopen(*Query1);
        if (m_stock)
            m_stock->stockChanged();
    });
}

void TForm7::postLines(StockCommand &command)
{
    const Field *goodsField = Query3->fieldByName(QStringLiteral("IdTovary"));
    walkLines(QStringLiteral("Оприбуткування на склад..."), [&] {
        const QString goods = goodsField->asString();
        // The field text of a whole quantity is its digits; a fractional one stored from elsewhere
        // would carry the locale's comma into the statement, so it goes as SQL number text.
        const QString quantity = FormatSqlNumber(Query3Kilkist->asFloat());
        Query2->sql().clear();
        Query2->sql().add(QStringLiteral("Select (count(`Id`)) as 'cnt' from `baza`"));
        Query2->sql().add(QStringLiteral("where (`IdTovary`=") + goods + QStringLiteral(");"));
        Query2->open();
        const qint64 count = Query2->fieldByName(QStringLiteral("cnt"))->asInteger();
        Query2->sql().clear();
        if (count < 1)
            Query2->sql().add(QStringLiteral("insert into `baza` values (NULL,") + goods + u',' + quantity
                              + QStringLiteral(");"));
        else
            Query2->sql().add(QStringLiteral("Update baza SET KilkistNaBazi=KilkistNaBazi+(") + QuoteSqlText(quantity)
                              + QStringLiteral(") where IdTovary=") + goods);
        Query2->execSql();
        command.record({goods.toLongLong(), std::nullopt, Query3Kilkist->asFloat()});
    });
}

void TForm7::BitBtn14Click()
{
    if (m_stock)
        m_stock->showStock();
}

void TForm7::BitBtn17Click() { previewDocument(QStringLiteral("Введіть дані про постачання"), m_previewInvoice); }

} // namespace coop
