// The clipboard store and its link to the display's clipboard.
#include "Platform/Ui/Clipboard.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Ui/WindowSystem.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <map>
#include <optional>
#include <vector>

using namespace Ui;

namespace {

using Lock = std::unique_lock<std::mutex>;

constexpr UINT kFirstRegisteredFormat = 0xC000;
constexpr UINT kTextForms[] = {CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT};

bool IsText(UINT format) { return format == CF_TEXT || format == CF_UNICODETEXT || format == CF_OEMTEXT; }

enum class Origin {
    Set,          // handed over by SetClipboardData
    Synthesized,  // another text form of what was set
    Foreign,      // text of another application, read from the display
};

struct Entry {
    UINT format = 0;
    HANDLE data = nullptr;
    Origin origin = Origin::Set;
};

struct Store {
    std::mutex mutex;
    bool open = false;
    DWORD openThread = 0;
    HWND openWindow = nullptr;
    HWND owner = nullptr;
    std::vector<Entry> entries;  // in the order they came
    bool changed = false;        // emptied or given data since it was opened
    bool published = false;      // its text is on the display's clipboard
    std::map<UINT, std::wstring> names;
};

Store& TheStore()
{
    static auto* store = new Store;
    return *store;
}

Display::CDisplayBackend& TheDisplayOfLayer()
{
    auto& ws = WindowSystem::Get();
    std::lock_guard lock(ws.Lock());
    return DisplayLocked(ws);
}

bool OpenedByCaller(const Store& store)
{
    if (store.open && store.openThread == CurrentThreadId())
        return true;
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return false;
}

void Free(const Entry& entry)
{
    if (entry.format == CF_BITMAP)
        DeleteObject(reinterpret_cast<HGDIOBJ>(entry.data));
    else
        GlobalFree(entry.data);
}

template <typename Predicate>
void FreeEntries(Store& store, Predicate which)
{
    std::erase_if(store.entries, [&](const Entry& entry) {
        if (!which(entry))
            return false;
        Free(entry);
        return true;
    });
}

const Entry* FindEntry(const Store& store, UINT format)
{
    auto it = std::find_if(store.entries.begin(), store.entries.end(), [&](const Entry& e) { return e.format == format; });
    return it == store.entries.end() ? nullptr : &*it;
}

const Entry* SetText(const Store& store)
{
    for (const Entry& entry : store.entries) {
        if (IsText(entry.format) && entry.origin == Origin::Set)
            return &entry;
    }
    return nullptr;
}

std::optional<std::wstring> ReadText(UINT format, HANDLE data)
{
    const SIZE_T size = GlobalSize(data);
    const void* bytes = GlobalLock(data);
    if (bytes == nullptr)
        return std::nullopt;
    std::wstring text;
    if (format == CF_UNICODETEXT) {
        const auto* chars = static_cast<const wchar_t*>(bytes);
        const std::size_t count = size / sizeof(wchar_t);
        text.assign(chars, std::find(chars, chars + count, L'\0'));
    } else {
        const auto* chars = static_cast<const char*>(bytes);
        text = Text::Utf8ToWide(std::string_view(chars, std::find(chars, chars + size, '\0') - chars));
    }
    GlobalUnlock(data);
    return text;
}

HANDLE MakeText(UINT format, const std::wstring& text)
{
    const std::string narrow = format == CF_UNICODETEXT ? std::string() : Text::WideToUtf8(text);
    const SIZE_T size = format == CF_UNICODETEXT ? (text.size() + 1) * sizeof(wchar_t) : narrow.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    void* bytes = block != nullptr ? GlobalLock(block) : nullptr;
    if (bytes == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    if (format == CF_UNICODETEXT)
        std::memcpy(bytes, text.c_str(), size);
    else
        std::memcpy(bytes, narrow.c_str(), size);
    GlobalUnlock(block);
    return block;
}

// Another application took the clipboard since this process put its text
// there: what the store holds is no longer the clipboard's.
void ForgetIfTaken(Store& store)
{
    if (!store.published || TheDisplayOfLayer().OwnsClipboard())
        return;
    FreeEntries(store, [](const Entry&) { return true; });
    store.owner = nullptr;
    store.published = false;
}

std::optional<std::wstring> ForeignText(const Store& store)
{
    if (SetText(store) != nullptr)
        return std::nullopt;
    auto& display = TheDisplayOfLayer();
    return display.OwnsClipboard() ? std::nullopt : display.GetClipboardText();
}

// The formats on offer, in the order the store got them, then the text
// forms that can be made from what is there.
std::vector<UINT> Formats(Store& store)
{
    ForgetIfTaken(store);
    std::vector<UINT> formats;
    for (const Entry& entry : store.entries) {
        if (entry.origin == Origin::Set)
            formats.push_back(entry.format);
    }
    if (SetText(store) != nullptr || ForeignText(store)) {
        for (UINT form : kTextForms) {
            if (std::find(formats.begin(), formats.end(), form) == formats.end())
                formats.push_back(form);
        }
    }
    return formats;
}

HANDLE TextIn(Store& store, UINT format)
{
    std::optional<std::wstring> text;
    Origin origin = Origin::Synthesized;
    if (const Entry* source = SetText(store)) {
        text = ReadText(source->format, source->data);
    } else {
        text = ForeignText(store);
        origin = Origin::Foreign;
    }
    if (!text)
        return nullptr;
    HANDLE data = MakeText(format, *text);
    if (data != nullptr)
        store.entries.push_back({format, data, origin});
    return data;
}

// Puts the store's text on the display's clipboard, or takes ours off it.
void Publish(Store& store)
{
    auto& display = TheDisplayOfLayer();
    const Entry* source = SetText(store);
    const std::optional<std::wstring> text = source ? ReadText(source->format, source->data) : std::nullopt;
    if (text) {
        store.published = display.SetClipboardText(*text);
    } else if (store.published) {
        display.ReleaseClipboard();
        store.published = false;
    }
}

}

BOOL OpenClipboard(HWND newOwner)
{
    if (newOwner != nullptr && !IsWindow(newOwner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    Store& store = TheStore();
    Lock lock(store.mutex);
    if (store.open) {
        if (store.openThread == CurrentThreadId() && store.openWindow == newOwner)
            return TRUE;
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    store.open = true;
    store.openThread = CurrentThreadId();
    store.openWindow = newOwner;
    store.changed = false;
    // Another application's text may have changed since it was read last.
    FreeEntries(store, [](const Entry& e) { return e.origin == Origin::Foreign; });
    ForgetIfTaken(store);
    return TRUE;
}

BOOL CloseClipboard()
{
    Store& store = TheStore();
    Lock lock(store.mutex);
    if (!OpenedByCaller(store))
        return FALSE;
    if (store.changed)
        Publish(store);
    store.open = false;
    store.openThread = 0;
    store.openWindow = nullptr;
    store.changed = false;
    return TRUE;
}

BOOL EmptyClipboard()
{
    Store& store = TheStore();
    Lock lock(store.mutex);
    if (!OpenedByCaller(store))
        return FALSE;
    FreeEntries(store, [](const Entry&) { return true; });
    store.owner = store.openWindow;
    store.changed = true;
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data)
{
    Store& store = TheStore();
    Lock lock(store.mutex);
    if (!OpenedByCaller(store))
        return nullptr;
    if (format == 0 || data == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (IsText(format)) {
        if (GlobalLock(data) == nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        GlobalUnlock(data);
        // The other text forms came from the text this one replaces.
        FreeEntries(store, [](const Entry& e) { return IsText(e.format) && e.origin != Origin::Set; });
    }
    FreeEntries(store, [&](const Entry& e) { return e.format == format && e.data != data; });
    if (FindEntry(store, format) == nullptr)
        store.entries.push_back({format, data, Origin::Set});
    store.changed = true;
    return data;
}

HANDLE GetClipboardData(UINT format)
{
    Store& store = TheStore();
    Lock lock(store.mutex);
    if (!OpenedByCaller(store))
        return nullptr;
    ForgetIfTaken(store);
    if (const Entry* entry = FindEntry(store, format))
        return entry->data;
    return IsText(format) ? TextIn(store, format) : nullptr;
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    Store& store = TheStore();
    Lock lock(store.mutex);
    const auto formats = Formats(store);
    return std::find(formats.begin(), formats.end(), format) != formats.end() ? TRUE : FALSE;
}

UINT EnumClipboardFormats(UINT format)
{
    Store& store = TheStore();
    Lock lock(store.mutex);
    if (!OpenedByCaller(store))
        return 0;
    const auto formats = Formats(store);
    auto it = format == 0 ? formats.begin() : std::find(formats.begin(), formats.end(), format);
    if (format != 0 && it != formats.end())
        ++it;
    SetLastError(NO_ERROR);
    return it == formats.end() ? 0 : *it;
}

int CountClipboardFormats()
{
    Store& store = TheStore();
    Lock lock(store.mutex);
    return static_cast<int>(Formats(store).size());
}

HWND GetClipboardOwner()
{
    Store& store = TheStore();
    HWND owner = nullptr;
    {
        Lock lock(store.mutex);
        ForgetIfTaken(store);
        owner = store.owner;
    }
    return owner != nullptr && IsWindow(owner) ? owner : nullptr;
}

HWND GetOpenClipboardWindow()
{
    Store& store = TheStore();
    Lock lock(store.mutex);
    return store.open ? store.openWindow : nullptr;
}

UINT RegisterClipboardFormatW(LPCWSTR name)
{
    const UINT format = RegisterWindowMessageW(name);
    if (format == 0)
        return 0;
    Store& store = TheStore();
    Lock lock(store.mutex);
    store.names.emplace(format, name);
    return format;
}

int GetClipboardFormatNameW(UINT format, LPWSTR name, int maxCount)
{
    if (name == nullptr || maxCount <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Store& store = TheStore();
    Lock lock(store.mutex);
    auto it = format >= kFirstRegisteredFormat ? store.names.find(format) : store.names.end();
    if (it == store.names.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::size_t count = std::min(it->second.size(), static_cast<std::size_t>(maxCount - 1));
    std::wmemcpy(name, it->second.c_str(), count);
    name[count] = L'\0';
    return static_cast<int>(count);
}
