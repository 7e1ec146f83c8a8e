#include "placeholderscreen.h"

#include <QPushButton>

namespace coop {

PlaceholderScreen::PlaceholderScreen(const QString &instanceName, const QString &caption, QSize size,
                                     QColor background)
{
    setObjectName(instanceName);
    setWindowTitle(caption);
    resize(size);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    setPalette(colours);
    auto *close = new QPushButton(QStringLiteral("Закрити"), this);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setAutoDefault(false);
    close->setGeometry(size.width() - 120, size.height() - 48, 100, 28);
    connect(close, &QPushButton::clicked, this, &PlaceholderScreen::reject);
    setCancelButton(close);
}

PlaceholderReport::PlaceholderReport(const QString &instanceName) { setObjectName(instanceName); }

} // namespace coop
