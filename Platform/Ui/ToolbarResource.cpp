#include "Platform/Ui/ToolbarResource.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/Module.h"

namespace Ui {

namespace {

constexpr WORD kVersion = 1;
constexpr std::size_t kHeaderWords = 4;

WORD WordAt(const BYTE* data, std::size_t index)
{
    return static_cast<WORD>(data[2 * index] | (data[2 * index + 1] << 8));
}

}  // namespace

bool CToolbarResource::Load(HINSTANCE module, LPCWSTR name)
{
    HRSRC found = FindResourceW(module, name, RT_TOOLBAR);
    if (found == nullptr)
        return false;
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    if (data == nullptr || !Parse(data, SizeofResource(module, found)))
        return false;
    // The bitmap of a null module is the program's, not one of the system's.
    m_module = module != nullptr ? module : GetModuleHandleW(nullptr);
    const bool numbered = IS_INTRESOURCE(name);
    m_nameId = numbered ? static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name)) : WORD{0};
    m_nameText = numbered ? std::wstring() : std::wstring(name);
    m_loaded = true;
    return true;
}

bool CToolbarResource::Parse(const BYTE* data, std::size_t size)
{
    m_buttons.clear();
    if (data == nullptr || size < 2 * kHeaderWords || WordAt(data, 0) != kVersion) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    const std::size_t count = WordAt(data, 3);
    if (size < 2 * (kHeaderWords + count) || WordAt(data, 1) == 0 || WordAt(data, 2) == 0) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    m_width = WordAt(data, 1);
    m_height = WordAt(data, 2);
    for (std::size_t i = 0; i < count; ++i)
        m_buttons.push_back(WordAt(data, kHeaderWords + i));
    return true;
}

int CToolbarResource::ImageOf(UINT command) const
{
    int image = 0;
    for (UINT button : m_buttons) {
        if (button == 0)
            continue;
        if (button == command)
            return image;
        ++image;
    }
    return -1;
}

int CToolbarResource::ImageCount() const
{
    int images = 0;
    for (UINT button : m_buttons)
        images += button != 0 ? 1 : 0;
    return images;
}

HBITMAP CToolbarResource::LoadStrip() const
{
    if (!m_loaded)
        return nullptr;
    return LoadBitmapW(m_module, m_nameText.empty() ? MAKEINTRESOURCEW(m_nameId) : m_nameText.c_str());
}

}
