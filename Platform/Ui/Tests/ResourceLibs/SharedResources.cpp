// Resources of a library that others link statically: every module that
// links it carries them under its own handle.
#include "Platform/Ui/ResourceTable.h"
#include "Platform/Ui/Tests/ResourceTestIds.h"

#include "Embedded/Square16.png.h"

namespace {

using namespace Ui::Res;

const StringTable kStrings{LANG_NEUTRAL, {
    {ResourceTest::kSharedText, L"Shared"},
}};
const Image kIcon{ImageKind::Icon, ResourceTest::kSharedIcon, {Bytes(Square16_png)}};
const ResourceTable kTable{.strings = {&kStrings}, .images = {&kIcon}};
const Registration kRegistration{kTable};

}
