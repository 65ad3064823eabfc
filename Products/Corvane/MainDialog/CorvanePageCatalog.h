#pragma once
// The pages a main dialog makes: a map from page key to the function that
// makes the page. The dialog makes every page of the catalog once, in the
// sheet order of the page table (CorvanePageTable.h); the program fills the
// catalog from that table, tests with pages of their own.
#include "Products/Corvane/Pages/Views/CouplerSettingsPageBase.h"
#include "Products/Corvane/App/CorvaneApp.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Corvane {

using CSettingsPage = CCouplerSettingsPageBase;

class CCorvanePageCatalog {
public:
    // Gets the template ids the screen and the user's language chose.
    using tCreator = std::function<std::unique_ptr<CSettingsPage>(const CCorvaneApp::tTemplateIds&)>;

    // Every page key of the page table in its order; the identification page is first.
    static const std::vector<std::wstring>& SheetOrder();

    // A second registration of a key replaces the first.
    void Register(const std::wstring& key, tCreator creator);
    bool Has(const std::wstring& key) const { return m_mapCreators.count(key) != 0; }
    // Null for a key without a creator or a creator that made nothing.
    std::unique_ptr<CSettingsPage> Create(const std::wstring& key, const CCorvaneApp::tTemplateIds& ids) const;

private:
    std::map<std::wstring, tCreator> m_mapCreators;
};

}  // namespace Corvane
