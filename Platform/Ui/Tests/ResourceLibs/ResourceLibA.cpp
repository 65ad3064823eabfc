// A tiny library with resources of its own, for the module tests.
#include "Platform/Ui/ResourceModule.h"
#include "Platform/Ui/ResourceTable.h"
#include "Platform/Ui/Tests/ResourceTestIds.h"

namespace {

using namespace Ui::Res;

const StringTable kStrings{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), {
    {ResourceTest::kLibraryText, L"Library A"},
}};
const BYTE kBytes[] = {'A', 'A'};
const Data kData{RT_RCDATA, ResourceTest::kLibraryData, LANG_NEUTRAL, Bytes(kBytes)};
const ResourceTable kTable{.strings = {&kStrings}, .data = {&kData}};
const Registration kRegistration{kTable};

}

#define ZELL_LIBRARY_EXPORT extern "C" __attribute__((visibility("default")))

ZELL_LIBRARY_EXPORT HINSTANCE ResourceLibAOwnModule()
{
    return Ui::OwnModule();
}

ZELL_LIBRARY_EXPORT HINSTANCE ResourceLibAGetResourceModule()
{
    return Ui::GetResourceModule();
}

ZELL_LIBRARY_EXPORT HINSTANCE ResourceLibASetResourceModule(HINSTANCE module)
{
    return Ui::SetResourceModule(module);
}
