#pragma once
// When a device's page list holds a page: the capability file lists a
// device's pages by key (or says "ALL"), and the data set decides which of
// them the device can have. The page table gives one rule per page; the
// capability file's reading applies them (CCorvaneDeviceIni::BuildPageList).

#include <vector>

namespace Corvane {

// Where the page sits in the list: before the listed pages, among them
// (only when listed or "ALL" names it), or after them.
enum class ENPageListPlace { First, Listed, Last };

// What the data set must hold for the page to be in the list.
enum class ENPageNeeds { Nothing, NetworkParams, NoNetworkParams, Clock, SDCardSlot };

// Whether a device whose section lists no page gets the page: never, when
// its needs hold, or when they hold and the device has an IP address.
enum class ENPageDefault { No, Yes, WithIP };

// When the page shows, as far as the capability file and the data set decide.
struct tPageShows {
    ENPageListPlace place = ENPageListPlace::Listed;
    ENPageNeeds needs = ENPageNeeds::Nothing;
    // "ALL" in the device's section adds the page.
    bool inAll = false;
    ENPageDefault byDefault = ENPageDefault::No;
};

struct tPageListRule {
    const wchar_t* key = L"";
    tPageShows shows;
};

// In the order the pages take in the list where nothing else orders them.
using tPageListRules = std::vector<tPageListRule>;

}  // namespace Corvane
