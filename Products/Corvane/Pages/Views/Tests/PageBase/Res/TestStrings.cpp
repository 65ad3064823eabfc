// The name of the address field whose balloon the tests look at.
#include "Products/Corvane/Pages/Views/Tests/Rigs/PageBaseRig.h"

#include "Platform/Ui/ResourceTable.h"

namespace Corvane {

namespace {

using namespace Ui::Res;

const StringTable kEnglish{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), {
    {PageBaseTest::kAddressNameId, L"IP address"},
}};
const ResourceTable kTable{.strings = {&kEnglish}};
const Registration kRegistration{kTable};

}

}  // namespace Corvane
