#include "form14.h"
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
    QStringLiteral("Select reveziyamagazuny.id,  reveziyamagazuny.IdMagazuny,  reveziyamagazuny.IdTovary,  "
                   "reveziyamagazuny.Kilkist,  reveziyamagazuny.CinaRozdribna, reveziyamagazuny.Data, magazunu.id, "
                   "tovary.NazvaTovary"),
    QStringLiteral("From  reveziyamagazuny, magazunu, tovary"),
    QStringLiteral("Where reveziyamagazuny.IdMagazuny = magazunu.id AND  reveziyamagazuny.IdTovary = tovary.id"),
};

} // namespace

TForm14::TForm14(Database &database, QWidget *parent)
    : DocumentScreen(parent), Query1(makeQuery(database, "Query1")), Query2(makeQuery(database, "Query2")),
      Query3(makeQuery(database, "Query3"))
{
    setupUi(this);

    Query1->sql().setLines({QStringLiteral("Select *"), QStringLiteral("From magazunu")});
    Query1->addField({QStringLiteral("Id"), FieldType::Integer, 0, QString(), 0, false});
    Query1->addField({QStringLiteral("NazvaMagazuny"), FieldType::String, 32, QStringLiteral("Назва магазину"), 26});
    Query1->addField({QStringLiteral("AdresaMagazuny"), FieldType::String, 40, QString(), 0, false});
    Query1->addField({QStringLiteral("IdSpivrobitnuka"), FieldType::Integer, 0, QString(), 0, false});

    // Until the first shop is current the lines are those of no shop in particular; the join with
    // the shops gives none while there are no shops.
    Query2->sql().setLines(LinesStatement);
    Query2->addField({QStringLiteral("id"), FieldType::Integer, 0, QString(), 0, false});
    Query2->addField({QStringLiteral("IdMagazuny"), FieldType::Integer, 0, QString(), 0, false});
    Query2->addField({QStringLiteral("IdTovary"), FieldType::Integer, 0, QString(), 0, false});
    Query2->addField({QStringLiteral("NazvaTovary"), FieldType::String, 40, QStringLiteral("Назва товару"), 25});
    Query2Kilkist = Query2->addField({QStringLiteral("Kilkist"), FieldType::Float, 0, QStringLiteral("Кількість")});
    Query2CinaRozdribna = Query2->addField({QStringLiteral("CinaRozdribna"), FieldType::Float, 0, QStringLiteral("Ціна роздрібна")});
    Query2->addField({QStringLiteral("id_1"), FieldType::Integer, 0, QString(), 0, false});
    Query2Data = Query2->addField({QStringLiteral("Data"), FieldType::Date, 0, QStringLiteral("Дата ревізії")});

    DBGrid1->setQuery(Query1);
    DBGrid2->setQuery(Query2);
    attachKeyFilter(Edit1, DigitsOnlyFilter);
    attachKeyFilter(Edit2, CommaDecimalFilter);

    m_goodsLine = {ComboBox1, Edit1, Edit2};
    m_lineFields = {Query2->fieldByName(QStringLiteral("IdTovary")), Query2Kilkist, Query2CinaRozdribna};

    Roles roles;
    roles.header = Query1;
    roles.lines = Query2;
    roles.headerGrid = DBGrid1;
    roles.linesStatement = LinesStatement;
    roles.linesCondition = QStringLiteral("and reveziyamagazuny.Idmagazuny=");
    roles.linesPanel = Panel{BitBtn1, BitBtn2, BitBtn3, BitBtn4, BitBtn5,
                             {ComboBox1, Edit1, Edit2, DateTimePicker1, Label1, Label2, Label3, Label4}, EditMode::Insert, EditMode::Update,
                             QStringLiteral("Увага!!!")};
    roles.filter = DateFilter{Query2, QStringLiteral("Data"), DateTimePicker2, DateTimePicker3, BitBtn7};
    roles.close = BitBtn6;
    setRoles(roles);

    onEvent(BitBtn8, &QPushButton::clicked, this, &TForm14::BitBtn8Click);
}

void TForm14::reach(std::function<void()> previewAct) { m_previewAct = std::move(previewAct); }

void TForm14::prepareLinePanel(bool editing)
{
    prepareGoodsLine(m_goodsLine, *Query3, editing, m_lineFields);
    if (!editing) {
        DateTimePicker1->setDate(QDate::currentDate());
        return;
    }
    // A line without a date cannot be edited: the error names the empty text and the panel stays closed.
    DateTimePicker1->setDate(ReadLocaleDate(Query2Data->asString()));
}

bool TForm14::writeLine(bool inserting)
{
    const std::optional<QString> goods = checkedGoods(m_goodsLine, inserting);
    if (!goods)
        return false;
    const QString price = QuoteSqlText(FormatSqlNumber(ReadTypedNumber(Edit2->text())));
    const QString quantity = QuoteSqlText(AuditQuantityText(Edit1->text()));
    const QString date = QuoteSqlText(FormatSqlDate(DateTimePicker1->date()));
    const QString shop = Query1->fieldByName(QStringLiteral("Id"))->asString();
    if (inserting)
        runStatement(*Query3, QStringLiteral("INSERT INTO reveziyamagazuny (IdTovary,kilkist,Cinarozdribna,Data,IdMagazuny) values ('")
                         + *goods + QStringLiteral("',") + quantity + u',' + price + u',' + date + u',' + shop + u')');
    else
        runStatement(*Query3, QStringLiteral("UPDATE reveziyamagazuny Set IdTovary=") + *goods + QStringLiteral(", kilkist=") + quantity
                         + QStringLiteral(", cinaRozdribna=") + price + QStringLiteral(", data=") + date
                         + QStringLiteral(", IdMagazuny=") + shop + QStringLiteral(" WHERE reveziyamagazuny.Id=")
                         + Query2->fieldByName(QStringLiteral("id"))->asString());
    return true;
}

void TForm14::clearLinePanel()
{
    // The audit date is left as it is; "Додати" sets it to today.
    clearGoodsLine(m_goodsLine);
}

void TForm14::deleteLine(const QString &id)
{
    runStatement(*Query3, QStringLiteral("DELETE FROM reveziyamagazuny WHERE reveziyamagazuny.id=") + id + u';');
}

void TForm14::BitBtn8Click() { previewDocument(QStringLiteral("Введіть дані про ревізію"), m_previewAct); }

} // namespace coop
