#pragma once
// One range check of a page's number field: which control, the title of its
// balloon, how the text is read, the member value and its bounds. A page's
// codec lists its checks in the order the page validates them, so that the
// view runs the same checks on the texts and the codec on the members.

#include "Platform/Base/Types.h"

#include <optional>
#include <vector>

namespace Corvane {

class CFieldRange {
public:
    // The modes the page base's range check takes: below 3 hexadecimal.
    static constexpr int kHexMode = 1;
    static constexpr int kDecimalMode = 4;

    UINT ControlId = 0;
    LPCWSTR TitleKey = L"";
    int Mode = kDecimalMode;
    int Value = 0;
    int Min = 0;
    int Max = 0;

    bool Contains() const { return Value >= Min && Value <= Max; }

    // A copy of the first check whose value lies outside its bounds (the
    // lists are built on demand); none when all pass.
    static std::optional<CFieldRange> FirstFailure(const std::vector<CFieldRange>& checks);
    static bool AllPass(const std::vector<CFieldRange>& checks) { return !FirstFailure(checks); }
};

}  // namespace Corvane
