#include "Products/Corvane/MainDialog/CorvanePageCatalog.h"

#include "Products/Corvane/MainDialog/CorvanePageTable.h"

#include <algorithm>

namespace Corvane {

const std::vector<std::wstring>& CCorvanePageCatalog::SheetOrder()
{
    static const std::vector<std::wstring> order = [] {
        std::vector<std::wstring> keys;
        for (const tPageRow& row : CCorvanePageTable::Rows())
            keys.emplace_back(row.key);
        return keys;
    }();
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
