// The scan list's row icons (our own art, drawn by DrawScanIcons.py).
#include "Common/PelorusDLL/Dialogs/DialogIds.h"

#include "Platform/Ui/ResourceTable.h"

#include "Embedded/ScanForeign16.png.h"
#include "Embedded/ScanIdentified16.png.h"
#include "Embedded/ScanNotIdentified16.png.h"
#include "Embedded/ScanUnusable16.png.h"

namespace {

using namespace Ui::Res;

const Image kIdentified{ImageKind::Icon, PelorusIds::kScanIdentifiedIcon, {Bytes(ScanIdentified16_png)}};
const Image kUnusable{ImageKind::Icon, PelorusIds::kScanUnusableIcon, {Bytes(ScanUnusable16_png)}};
const Image kNotIdentified{ImageKind::Icon, PelorusIds::kScanNotIdentifiedIcon, {Bytes(ScanNotIdentified16_png)}};
const Image kForeign{ImageKind::Icon, PelorusIds::kScanForeignIcon, {Bytes(ScanForeign16_png)}};

const ResourceTable kTable{.images = {&kIdentified, &kUnusable, &kNotIdentified, &kForeign}};
const Registration kRegistration{kTable};

}
