// The identification page's templates (the large one for the screens that
// need more room), its row state images and the images of its menu (our own
// art, drawn by DrawPageImages.py).
#include "Products/Corvane/Pages/Views/CommonPage.h"

#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/ResourceTable.h"

#include "Embedded/MenuImages.png.h"
#include "Embedded/RowStates.png.h"

namespace Corvane {

using namespace ZELL::Grid;

namespace {

using namespace Ui::Res;

std::vector<BYTE> PageTemplate(short cx, short cy)
{
    Ui::CDialogTemplate page;
    page.style = WS_CHILD | DS_CONTROL | DS_SETFONT;
    page.cx = cx;
    page.cy = cy;
    page.pointSize = 8;
    page.faceName = L"DejaVu Sans";
    page.caption = L"Identification";
    page.items.push_back(Ui::VisibleControl(Ui::NameOrOrdinal::Name(CZellGrid::kClassName), L"", CCommonPage::kGridId,
                                            WS_TABSTOP | WS_BORDER, 7, 7, static_cast<short>(cx - 14),
                                            static_cast<short>(cy - 14)));
    return page.ToImage();
}

std::vector<BYTE> CommonPageTemplate() { return PageTemplate(330, 200); }
std::vector<BYTE> LargeCommonPageTemplate() { return PageTemplate(380, 230); }

const Data kTemplate{RT_DIALOG, CCommonPage::kTemplateId, LANG_NEUTRAL, {}, &CommonPageTemplate};
const Data kLargeTemplate{RT_DIALOG, CCommonPage::kLargeTemplateId, LANG_NEUTRAL, {}, &LargeCommonPageTemplate};
const Image kRowStates{ImageKind::Bitmap, CCommonPage::kRowImagesId, {Bytes(RowStates_png)}};
const Image kMenuImages{ImageKind::Bitmap, CCommonPage::kMenuImagesId, {Bytes(MenuImages_png)}};
const Toolbar kMenuToolbar{CCommonPage::kMenuImagesId, LANG_NEUTRAL, 16, 20,
                           {CCommonPage::kRefreshCommand, CCommonPage::kCopyCommand, CCommonPage::kPasteCommand,
                            CCommonPage::kDeleteCommand, CCommonPage::kSaveCommand}};

const ResourceTable kTable{.images = {&kRowStates, &kMenuImages},
                           .data = {&kTemplate, &kLargeTemplate},
                           .toolbars = {&kMenuToolbar}};
const Registration kRegistration{kTable};

}

}  // namespace Corvane
