#include "windowregistry.h"

#include "form1.h"
#include "form2.h"
#include "audit/form14.h"
#include "audit/form15.h"
#include "movement/form11.h"
#include "movement/form7.h"
#include "reference/form10.h"
#include "reference/form3.h"
#include "reference/form4.h"
#include "reference/form5.h"
#include "reports/quickreport17.h"
#include "reports/quickreport18.h"
#include "reports/quickreport19.h"
#include "reports/quickreport20.h"
#include "reports/quickreport21.h"
#include "reference/form6.h"
#include "reference/form8.h"
#include "reference/form9.h"
#include "stock/form12.h"
#include "revenue/form16.h"
#include "revenue/form22.h"
#include "stock/form13.h"

namespace coop {

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
    m_form3 = createScreen(std::make_unique<TForm3>(database()));
    m_form4 = createScreen(std::make_unique<TForm4>(database()));
    m_form5 = createScreen(std::make_unique<TForm5>());
    m_form6 = createScreen(std::make_unique<TForm6>());
    m_form7 = createScreen(std::make_unique<TForm7>(database()));
    m_form8 = createScreen(std::make_unique<TForm8>(database()));
    m_form9 = createScreen(std::make_unique<TForm9>(database()));
    m_form10 = createScreen(std::make_unique<TForm10>(database()));
    m_form11 = createScreen(std::make_unique<TForm11>(database()));
    m_form12 = createScreen(std::make_unique<TForm12>(database()));
    m_form13 = createScreen(std::make_unique<TForm13>(database()));
    m_form14 = createScreen(std::make_unique<TForm14>(database()));
    m_form15 = createScreen(std::make_unique<TForm15>(database()));
    m_form16 = createScreen(std::make_unique<TForm16>(database()));
    m_quickReport17 = adopt(std::make_unique<TQuickReport17>(*m_form7->Query1, *m_form7->Query3));
    m_quickReport18 = adopt(std::make_unique<TQuickReport18>(*m_form11->Query1, *m_form11->Query3));
    m_quickReport19 = adopt(std::make_unique<TQuickReport19>(*m_form12->Query1));
    m_quickReport20 = adopt(std::make_unique<TQuickReport20>(*m_form14->Query1, *m_form14->Query2));
    m_quickReport21 = adopt(std::make_unique<TQuickReport21>(*m_form15->Query1, *m_form15->Query3));
    m_form22 = createScreen(std::make_unique<TForm22>(*m_form16->Query3));
    connectScreens();
}

void WindowRegistry::connectScreens()
{
    for (ReferenceScreen *catalog : std::initializer_list<ReferenceScreen *>{m_form3, m_form4, m_form8, m_form9, m_form10})
        catalog->reach(*m_form5, *m_form6);
    m_form7->reach(*m_form12, [this] { m_quickReport17->Preview(m_form7); });
    m_form11->reach(*m_form12, *m_form13, [this] { m_quickReport18->Preview(m_form11); });
    m_form14->reach([this] { m_quickReport20->Preview(m_form14); });
    m_form15->reach([this] { m_quickReport21->Preview(m_form15); });
    m_form16->reach(*m_form22);
    m_form12->setStockCardPreview([this] { m_quickReport19->Preview(m_form12); });
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
