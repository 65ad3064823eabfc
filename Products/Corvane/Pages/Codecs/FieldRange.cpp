#include "Products/Corvane/Pages/Codecs/FieldRange.h"

namespace Corvane {

std::optional<CFieldRange> CFieldRange::FirstFailure(const std::vector<CFieldRange>& checks)
{
    for (const CFieldRange& check : checks)
        if (!check.Contains())
            return check;
    return std::nullopt;
}

}  // namespace Corvane
