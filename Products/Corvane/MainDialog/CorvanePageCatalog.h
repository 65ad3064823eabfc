#pragma once
// Which settings pages the program has: a table from page key to the
// function that makes the page. The main dialog makes every page of the
// table once, in the sheet order of its keys; the program fills the table,
// so a page is added without touching the dialog.
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

    // Every page key in sheet order; "COMMON" is always first.
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
