// The test program's own strings, for texts given as resource numbers.
#include "Common/PelorusDLL/Dialogs/Tests/TestResourceIds.h"

#include "Platform/Ui/ResourceTable.h"

namespace {

using namespace Ui::Res;

const StringTable kEnglish{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), {
    {PelorusTest::kBalloonText, L"Value out of range"},
}};
const ResourceTable kTable{.strings = {&kEnglish}};
const Registration kRegistration{kTable};

}
