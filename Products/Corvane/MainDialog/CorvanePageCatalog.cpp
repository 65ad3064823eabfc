#include "Products/Corvane/MainDialog/CorvanePageCatalog.h"

#include <algorithm>

namespace Corvane {

const std::vector<std::wstring>& CCorvanePageCatalog::SheetOrder()
{
    static const std::vector<std::wstring> order = {
        L"COMMON", L"NETWORKPARAM", L"TCPIP",      L"NETWORK", L"CLOCK",  L"MODBUS", L"MODBUSPARAM",
        L"PROTOCOL", L"TRAFFIC",    L"SNTP",       L"ETHERNETIP", L"ORBIS", L"SDCARD", L"STATUS"};
    return order;
}

void CCorvanePageCatalog::Register(const std::wstring& key, tCreator creator)
{
    if (key.empty() || !creator)
        return;
    m_mapCreators[key] = std::move(creator);
}

std::unique_ptr<CSettingsPage> CCorvanePageCatalog::Create(const std::wstring& key,
                                                           const CCorvaneApp::tTemplateIds& ids) const
{
    const auto found = m_mapCreators.find(key);
    return found == m_mapCreators.end() ? nullptr : found->second(ids);
}

}  // namespace Corvane
