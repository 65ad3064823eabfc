// The main dialog's icons: our own art, drawn by DrawIcons.py.
#include "Products/Corvane/MainDialog/MainDialogIds.h"

#include "Platform/Ui/ResourceTable.h"

#include "Embedded/App16.png.h"
#include "Embedded/App32.png.h"
#include "Embedded/App48.png.h"
#include "Embedded/Read16.png.h"
#include "Embedded/Read32.png.h"
#include "Embedded/Read48.png.h"
#include "Embedded/Open16.png.h"
#include "Embedded/Open32.png.h"
#include "Embedded/Open48.png.h"
#include "Embedded/Save16.png.h"
#include "Embedded/Save32.png.h"
#include "Embedded/Save48.png.h"
#include "Embedded/Write16.png.h"
#include "Embedded/Write32.png.h"
#include "Embedded/Write48.png.h"
#include "Embedded/Restart16.png.h"
#include "Embedded/Restart32.png.h"
#include "Embedded/Restart48.png.h"
#include "Embedded/Factory16.png.h"
#include "Embedded/Factory32.png.h"
#include "Embedded/Factory48.png.h"
#include "Embedded/ResetFs16.png.h"
#include "Embedded/ResetFs32.png.h"
#include "Embedded/ResetFs48.png.h"
#include "Embedded/Settings16.png.h"
#include "Embedded/Settings32.png.h"
#include "Embedded/Settings48.png.h"
#include "Embedded/StateWorking16.png.h"
#include "Embedded/StateWorking32.png.h"
#include "Embedded/StateWorking48.png.h"
#include "Embedded/StateConnecting16.png.h"
#include "Embedded/StateConnecting32.png.h"
#include "Embedded/StateConnecting48.png.h"
#include "Embedded/StateFailed16.png.h"
#include "Embedded/StateFailed32.png.h"
#include "Embedded/StateFailed48.png.h"
#include "Embedded/StateIdle16.png.h"
#include "Embedded/StateIdle32.png.h"
#include "Embedded/StateIdle48.png.h"
#include "Embedded/StateOffline16.png.h"
#include "Embedded/StateOffline32.png.h"
#include "Embedded/StateOffline48.png.h"

namespace Corvane {

namespace {

using namespace CorvaneIds;
using namespace Ui::Res;

const Image kIconApp{ImageKind::Icon, kAppIcon, {Bytes(App16_png), Bytes(App32_png), Bytes(App48_png)}};
const Image kIconRead{ImageKind::Icon, kReadIcon, {Bytes(Read16_png), Bytes(Read32_png), Bytes(Read48_png)}};
const Image kIconOpen{ImageKind::Icon, kOpenIcon, {Bytes(Open16_png), Bytes(Open32_png), Bytes(Open48_png)}};
const Image kIconSave{ImageKind::Icon, kSaveIcon, {Bytes(Save16_png), Bytes(Save32_png), Bytes(Save48_png)}};
const Image kIconWrite{ImageKind::Icon, kWriteIcon, {Bytes(Write16_png), Bytes(Write32_png), Bytes(Write48_png)}};
const Image kIconRestart{ImageKind::Icon, kRestartIcon, {Bytes(Restart16_png), Bytes(Restart32_png), Bytes(Restart48_png)}};
const Image kIconFactory{ImageKind::Icon, kFactoryDefaultsIcon, {Bytes(Factory16_png), Bytes(Factory32_png), Bytes(Factory48_png)}};
const Image kIconResetFs{ImageKind::Icon, kResetFileSystemIcon, {Bytes(ResetFs16_png), Bytes(ResetFs32_png), Bytes(ResetFs48_png)}};
const Image kIconSettings{ImageKind::Icon, kSettingsIcon, {Bytes(Settings16_png), Bytes(Settings32_png), Bytes(Settings48_png)}};
const Image kIconStateWorking{ImageKind::Icon, kStateWorking, {Bytes(StateWorking16_png), Bytes(StateWorking32_png), Bytes(StateWorking48_png)}};
const Image kIconStateConnecting{ImageKind::Icon, kStateConnecting, {Bytes(StateConnecting16_png), Bytes(StateConnecting32_png), Bytes(StateConnecting48_png)}};
const Image kIconStateFailed{ImageKind::Icon, kStateFailed, {Bytes(StateFailed16_png), Bytes(StateFailed32_png), Bytes(StateFailed48_png)}};
const Image kIconStateIdle{ImageKind::Icon, kStateIdle, {Bytes(StateIdle16_png), Bytes(StateIdle32_png), Bytes(StateIdle48_png)}};
const Image kIconStateOffline{ImageKind::Icon, kStateOffline, {Bytes(StateOffline16_png), Bytes(StateOffline32_png), Bytes(StateOffline48_png)}};

const ResourceTable kTable{.images = {&kIconApp, &kIconRead, &kIconOpen, &kIconSave, &kIconWrite, &kIconRestart, &kIconFactory, &kIconResetFs, &kIconSettings, &kIconStateWorking, &kIconStateConnecting, &kIconStateFailed, &kIconStateIdle, &kIconStateOffline}};
const Registration kRegistration{kTable};

}

}  // namespace Corvane
