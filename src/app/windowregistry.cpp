#include "windowregistry.h"

#include "form1.h"
#include "form2.h"
#include "placeholderscreen.h"

namespace coop {

namespace {
const QColor ScreenColour(0xC6, 0xFF, 0xE3);
const QColor DialogColour(0xB1, 0xFE, 0xDA);
} // namespace

WindowRegistry::WindowRegistry()
{
    try {
        createAll();
    } catch (...) {
        destroyAll();
        throw;
    }
}

WindowRegistry::~WindowRegistry() { destroyAll(); }

Database &WindowRegistry::database() const { return m_form1->Database1; }

void WindowRegistry::createAll()
{
    m_form1 = adopt(std::make_unique<TForm1>(*this));
    m_form2 = createScreen(std::make_unique<TForm2>());
    m_form3 = placeholder("Form3", QStringLiteral("Співробітники"), 982, 725);
    m_form4 = placeholder("Form4", QStringLiteral("Постачальники"), 760, 569);
    m_form5 = placeholder("Form5", QStringLiteral("Пошук"), 384, 157, true);
    m_form6 = placeholder("Form6", QStringLiteral("Фільтрація"), 356, 152, true);
    m_form7 = placeholder("Form7", QStringLiteral("Надходження товарів"), 773, 638);
    m_form8 = placeholder("Form8", QStringLiteral("Відділи"), 568, 473);
    m_form9 = placeholder("Form9", QStringLiteral("Магазини"), 662, 517);
    m_form10 = placeholder("Form10", QStringLiteral("Товари"), 585, 505);
    m_form11 = placeholder("Form11", QStringLiteral("Розподіл між магазинами"), 717, 619);
    m_form12 = placeholder("Form12", QStringLiteral("Склад"), 423, 463);
    m_form13 = placeholder("Form13", QStringLiteral("Наявність в магазині"), 681, 297);
    m_form14 = placeholder("Form14", QStringLiteral("Ревізія магазинів"), 644, 470);
    m_form15 = placeholder("Form15", QStringLiteral("Ревізія бази"), 666, 550);
    m_form16 = placeholder("Form16", QStringLiteral("Виручка магазинів"), 651, 452);
    m_quickReport17 = placeholderReport("QuickReport17");
    m_quickReport18 = placeholderReport("QuickReport18");
    m_quickReport19 = placeholderReport("QuickReport19");
    m_quickReport20 = placeholderReport("QuickReport20");
    m_quickReport21 = placeholderReport("QuickReport21");
    m_form22 = placeholder("Form22", QStringLiteral("Аналіз виручки"), 748, 439);
}

template <class Window> Window *WindowRegistry::adopt(std::unique_ptr<Window> window)
{
    Window *raw = window.get();
    m_created.push_back(std::move(window));
    return raw;
}

template <class Window> Window *WindowRegistry::createScreen(std::unique_ptr<Window> screen)
{
    Window *raw = adopt(std::move(screen));
    raw->create();
    return raw;
}

Screen *WindowRegistry::placeholder(const char *instanceName, const QString &caption, int width, int height,
                                    bool dialogColour)
{
    return createScreen(std::make_unique<PlaceholderScreen>(QString::fromLatin1(instanceName), caption,
                                                            QSize(width, height),
                                                            dialogColour ? DialogColour : ScreenColour));
}

QObject *WindowRegistry::placeholderReport(const char *instanceName)
{
    return adopt(std::make_unique<PlaceholderReport>(QString::fromLatin1(instanceName)));
}

std::vector<QObject *> WindowRegistry::windows() const
{
    std::vector<QObject *> all;
    for (const auto &window : m_created)
        all.push_back(window.get());
    return all;
}

void WindowRegistry::destroyAll()
{
    while (!m_created.empty())
        m_created.pop_back();
}

} // namespace coop
