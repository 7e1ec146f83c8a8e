#include "longwork.h"

#include "application.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace coop {

namespace {
constexpr int DialogDelayMs = 500;
} // namespace

LongWork::LongWork() = default;
LongWork::~LongWork() = default;

void LongWork::operator()(const QString &doing)
{
    if (!m_clock.isValid())
        m_clock.start();
    if (!m_dialog && m_clock.elapsed() >= DialogDelayMs) {
        m_dialog = std::make_unique<QProgressDialog>(doing, QString(), 0, 0);
        m_dialog->setWindowTitle(applicationTitle());
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->show();
    }
    if (!m_dialog)
        return;
    if (m_dialog->labelText() != doing)
        m_dialog->setLabelText(doing);
    QCoreApplication::processEvents();
}

void LongWork::close()
{
    m_dialog.reset();
    m_clock.invalidate();
}

} // namespace coop
