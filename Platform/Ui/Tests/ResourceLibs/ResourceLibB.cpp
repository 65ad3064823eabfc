// A tiny library with resources of its own, for the module tests.
#include "Platform/Ui/ResourceModule.h"
#include "Platform/Ui/ResourceTable.h"
#include "Platform/Ui/Tests/ResourceTestIds.h"

namespace {

using namespace Ui::Res;

const StringTable kStrings{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), {
    {ResourceTest::kLibraryText, L"Library B"},
}};
const ResourceTable kTable{.strings = {&kStrings}};
const Registration kRegistration{kTable};

}
