// Dialogs from the templates a module carries as RT_DIALOG resources.
#include "Platform/Ui/DialogManager.h"
#include "Platform/Ui/Resource.h"
#include "Platform/Ui/WinUser.h"

#include <cstddef>

namespace {

struct TemplateImage {
    const void* data = nullptr;
    std::size_t size = 0;
};

// The resource's own size bounds the parse, so a template cannot be read past.
TemplateImage FindTemplate(HINSTANCE instance, LPCWSTR name)
{
    HRSRC resource = FindResourceW(instance, name, RT_DIALOG);
    if (resource == nullptr)
        return {};
    HGLOBAL loaded = LoadResource(instance, resource);
    return {LockResource(loaded), SizeofResource(instance, resource)};
}

}

HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc, LPARAM initParam)
{
    const TemplateImage image = FindTemplate(instance, templateName);
    if (image.data == nullptr)
        return nullptr;
    return Ui::CreateDialogFromImage(instance, image.data, image.size, owner, proc, initParam);
}

INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc, LPARAM initParam)
{
    const TemplateImage image = FindTemplate(instance, templateName);
    if (image.data == nullptr)
        return -1;
    return Ui::DialogBoxFromImage(instance, image.data, image.size, owner, proc, initParam);
}
