#include "linequantities.h"

#include "data/query.h"
#include "widgets/messages.h"

namespace coop {

bool lineQuantitiesArePositive(const Query &lines, const Field *quantity, const Field *goodsName)
{
    for (int row = 0; row < lines.recordCount(); ++row) {
        const QVariant value = lines.value(row, quantity);
        if (value.isValid() && !value.isNull() && value.toDouble() > 0)
            continue;
        const QString shown = lines.displayText(row, quantity);
        messageBox(QStringLiteral("Помилка"),
                   QStringLiteral("Кількість товару «%1» має бути додатним числом, а не %2. Нічого не змінено.")
                       .arg(lines.displayText(row, goodsName), shown.isEmpty() ? QStringLiteral("порожнє значення") : shown),
                   MessageButton::Ok, MessageIcon::Exclamation);
        return false;
    }
    return true;
}

} // namespace coop
