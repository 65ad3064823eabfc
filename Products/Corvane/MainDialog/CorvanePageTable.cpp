#include "Products/Corvane/MainDialog/CorvanePageTable.h"

#include "Products/Corvane/Pages/Views/ClockPage.h"
#include "Products/Corvane/Pages/Views/CommonPage.h"
#include "Products/Corvane/Pages/Views/EthernetIPPage.h"
#include "Products/Corvane/Pages/Views/ModbusPage.h"
#include "Products/Corvane/Pages/Views/ModbusParamPage.h"
#include "Products/Corvane/Pages/Views/NetworkPage.h"
#include "Products/Corvane/Pages/Views/NetworkParamPage.h"
#include "Products/Corvane/Pages/Views/OrbisPage.h"
#include "Products/Corvane/Pages/Views/ProtocolPage.h"
#include "Products/Corvane/Pages/Views/SDCardPage.h"
#include "Products/Corvane/Pages/Views/SntpPage.h"
#include "Products/Corvane/Pages/Views/StatePage.h"
#include "Products/Corvane/Pages/Views/TCPIPPage.h"
#include "Products/Corvane/Pages/Views/TransmissionPage.h"

#include <algorithm>

namespace Corvane {

namespace {

// A page whose template does not change with the screen's DPI.
template <class Page>
std::unique_ptr<CCouplerSettingsPageBase> Make(const CCorvaneApp::tTemplateIds&)
{
    return std::make_unique<Page>();
}

std::unique_ptr<CCouplerSettingsPageBase> MakeCommonPage(const CCorvaneApp::tTemplateIds& ids)
{
    return std::make_unique<CCommonPage>(static_cast<UINT>(ids.commonPage));
}

using enum ENPageGroup;
using enum ENPageListPlace;
using enum ENPageNeeds;
using enum ENPageDefault;
constexpr int kNever = tPageRow::kNever;

// key, make, group, fill place, check place and group, shows: place in the list, needs, in "ALL", by default.
constexpr tPageRow kRows[] = {
    {CCommonPage::kPageKey, MakeCommonPage, Base, 11, kNever, Base, {First, Nothing, false, No}},
    {CNetworkParamPage::kPageKey, Make<CNetworkParamPage>, Extended, 1, 2, Base, {Listed, NetworkParams, true, Yes}},
    {CTCPIPPage::kPageKey, Make<CTCPIPPage>, Base, 2, 1, Base, {Listed, NoNetworkParams, true, WithIP}},
    {CNetworkPage::kPageKey, Make<CNetworkPage>, Extended, 3, 8, Extended, {Listed, NoNetworkParams, true, WithIP}},
    {CClockPage::kPageKey, Make<CClockPage>, Extended, 10, kNever, Extended, {Listed, Clock, true, Yes}},
    {CModbusPage::kPageKey, Make<CModbusPage>, Base, 4, 4, Base, {Listed, Nothing, true, No}},
    {CModbusParamPage::kPageKey, Make<CModbusParamPage>, Base, 5, 5, Base, {Listed, Nothing, false, No}},
    {CProtocolPage::kPageKey, Make<CProtocolPage>, Base, 8, 3, Base, {Listed, Nothing, true, No}},
    {CTransmissionPage::kPageKey, Make<CTransmissionPage>, Extended, 9, 11, Extended, {Listed, Nothing, true, No}},
    {CSntpPage::kPageKey, Make<CSntpPage>, Extended, 7, 10, Extended, {Listed, Nothing, true, No}},
    {CEthernetIPPage::kPageKey, Make<CEthernetIPPage>, Extended, 6, 9, Extended, {Listed, Nothing, true, No}},
    {COrbisPage::kPageKey, Make<COrbisPage>, Controller, 12, 12, Controller, {Listed, Nothing, true, No}},
    {CSDCardPage::kPageKey, Make<CSDCardPage>, Extended, 13, 6, Base, {Last, SDCardSlot, false, No}},
    {CStatePage::kPageKey, Make<CStatePage>, Base, 14, 7, Base, {Last, Nothing, false, No}},
};

std::vector<const tPageRow*> OrderedBy(int tPageRow::*place)
{
    std::vector<const tPageRow*> rows;
    for (const tPageRow& row : kRows) {
        if (row.*place != kNever)
            rows.push_back(&row);
    }
    std::stable_sort(rows.begin(), rows.end(), [place](const tPageRow* a, const tPageRow* b) { return a->*place < b->*place; });
    return rows;
}

}

std::span<const tPageRow> CCorvanePageTable::Rows() { return kRows; }

const tPageRow* CCorvanePageTable::Find(const std::wstring& key)
{
    const auto found = std::find_if(std::begin(kRows), std::end(kRows), [&](const tPageRow& row) { return key == row.key; });
    return found == std::end(kRows) ? nullptr : &*found;
}

const std::vector<const tPageRow*>& CCorvanePageTable::InFillOrder()
{
    static const std::vector<const tPageRow*> rows = OrderedBy(&tPageRow::fillPlace);
    return rows;
}

const std::vector<const tPageRow*>& CCorvanePageTable::InCheckOrder()
{
    static const std::vector<const tPageRow*> rows = OrderedBy(&tPageRow::checkPlace);
    return rows;
}

const tPageListRules& CCorvanePageTable::ListRules()
{
    static const tPageListRules rules = [] {
        tPageListRules list;
        for (const tPageRow& row : kRows)
            list.push_back({row.key, row.shows});
        return list;
    }();
    return rules;
}

}  // namespace Corvane
