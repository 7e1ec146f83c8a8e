#include "screenhelpers.h"

#include "data/query.h"
#include "widgets/idcombobox.h"
#include "widgets/messages.h"

namespace coop {

void runStatement(Query &runner, const QString &statement)
{
    runner.close();
    runner.sql().clear();
    runner.sql().add(statement);
    runner.execSql();
}

void reopen(Query &query)
{
    query.close();
    query.open();
}

void fillIdComboBox(IdComboBox &box, Query &runner, const QString &statement, const QString &textColumn)
{
    runner.sql().clear();
    runner.sql().add(statement);
    runner.close();
    runner.open();
    box.clearAll();
    if (!runner.isEmpty()) {
        const ControlsDisabled still(runner);
        const Field *id = runner.fieldByName(QStringLiteral("Id"));
        const Field *text = runner.fieldByName(textColumn);
        for (int row = 0; row < runner.recordCount(); ++row) {
            box.idList().append(runner.displayText(row, id));
            box.addItem(runner.displayText(row, text));
        }
        runner.last();
    }
    box.setCurrentIndex(-1);
    box.setEditText(QString());
}

void selectId(IdComboBox &box, const QString &id) { box.setCurrentIndex(int(box.idList().indexOf(id))); }

std::optional<QString> chosenId(const IdComboBox &box)
{
    const int index = box.currentIndex();
    if (index < 0 || index >= box.idList().size() || box.itemText(index) != box.currentText())
        return std::nullopt;
    return box.idList().at(index);
}

std::optional<QString> currentRowId(const Query &query)
{
    if (!query.active() || query.recNo() < 0)
        return std::nullopt;
    return query.fieldByName(QStringLiteral("Id"))->asString();
}

void refuse(const QString &text)
{
    messageBox(QStringLiteral("Помилка"), text, MessageButton::Ok, MessageIcon::Exclamation);
}

void refuseWithoutRow() { refuse(QStringLiteral("Не вибрано жодного запису")); }

} // namespace coop
