#pragma once
// The settings pages the program has, one row per page: its key, how it is
// made, the group of devices that show it, its place when a read fills the
// pages and when they are checked before a write or a save, and when the
// capability file and the data set let it show. The program's catalogue,
// the sheet's tab order (the rows' order), the fill and check orders and
// the device's page list all come from these rows, so that a page is added
// with its codec, its view, its resources, its texts and one row.
#include "Products/Corvane/App/CorvaneApp.h"
#include "Products/Corvane/Core/PageListRule.h"
#include "Products/Corvane/Pages/Views/CouplerSettingsPageBase.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace Corvane {

// The devices that show a page (the order check decides): every device,
// those with the extended pages, or those with the controller pages too.
enum class ENPageGroup { Base, Extended, Controller };

struct tPageRow {
    using tFactory = std::unique_ptr<CCouplerSettingsPageBase> (*)(const CCorvaneApp::tTemplateIds&);
    // The place in a read's fill order or in the check order of a page that
    // never takes its part in it.
    static constexpr int kNever = 0;

    const wchar_t* key;
    tFactory make;
    ENPageGroup group;
    // Ascending; the identification page's place parts the pages filled
    // before it from those filled after it.
    int fillPlace;
    // Ascending; the page is checked only where its check group is shown.
    int checkPlace;
    ENPageGroup checkGroup;
    tPageShows shows;
};

class CCorvanePageTable {
public:
    // In the sheet's tab order; the identification page is the first.
    static std::span<const tPageRow> Rows();
    // Null for a key without a row.
    static const tPageRow* Find(const std::wstring& key);

    // The rows that take their part, in the order of their place.
    static const std::vector<const tPageRow*>& InFillOrder();
    static const std::vector<const tPageRow*>& InCheckOrder();
    // The rules of the device's page list (CCorvaneDeviceIni::BuildPageList).
    static const tPageListRules& ListRules();
};

}  // namespace Corvane
