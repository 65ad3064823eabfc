#include "Platform/Framework/DragDrop/OleDataSource.h"

#include "Platform/Framework/DragDrop/OleDropSource.h"
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Shell/DragDrop.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(COleDataSource, CCmdTarget)

// The cached data as the drag loop and the targets read it: each read
// gets a copy of the block.
class COleDataSourceView : public IDataObject {
public:
    explicit COleDataSourceView(const COleDataSource& owner) : m_Owner(owner) {}

    HRESULT GetData(const FORMATETC* format, STGMEDIUM* medium) override
    {
        if (medium == nullptr)
            return E_INVALIDARG;
        const HRESULT offered = QueryGetData(format);
        if (offered != S_OK)
            return offered;
        HGLOBAL copy = CopyGlobalBlock(m_Owner.CachedBlock(format->cfFormat));
        if (copy == nullptr)
            return E_OUTOFMEMORY;
        *medium = STGMEDIUM{TYMED_HGLOBAL, copy, nullptr};
        return S_OK;
    }
    HRESULT QueryGetData(const FORMATETC* format) override
    {
        const HRESULT checked = CheckGlobalFormat(format);
        if (checked != S_OK)
            return checked;
        return m_Owner.CachedBlock(format->cfFormat) != nullptr ? S_OK : DV_E_FORMATETC;
    }

private:
    const COleDataSource& m_Owner;
};

namespace {

template <typename Entries>
auto FindFormat(Entries& entries, CLIPFORMAT format)
{
    return std::find_if(entries.begin(), entries.end(), [&](const auto& entry) { return entry.format == format; });
}

// The source the clipboard holds since its last SetClipboard.
std::unique_ptr<COleDataSource>& ClipboardSource()
{
    static std::unique_ptr<COleDataSource> source;
    return source;
}

}

COleDataSource::COleDataSource() : m_pView(std::make_unique<COleDataSourceView>(*this)) {}

COleDataSource::~COleDataSource()
{
    Empty();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT format, HGLOBAL block, LPFORMATETC)
{
    if (block == nullptr)
        return;
    auto it = FindFormat(m_arrEntries, format);
    if (it == m_arrEntries.end()) {
        m_arrEntries.push_back({format, block});
        return;
    }
    if (it->block != block)
        GlobalFree(it->block);
    it->block = block;
}

void COleDataSource::CacheData(CLIPFORMAT format, LPSTGMEDIUM medium, LPFORMATETC formatEtc)
{
    if (medium == nullptr)
        return;
    if (medium->tymed != TYMED_HGLOBAL) {
        ReleaseStgMedium(medium);
        return;
    }
    CacheGlobalData(format, medium->hGlobal, formatEtc);
    *medium = STGMEDIUM{};
}

void COleDataSource::Empty()
{
    for (const Entry& entry : m_arrEntries)
        GlobalFree(entry.block);
    m_arrEntries.clear();
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD effects, LPCRECT startDrag, COleDropSource* dropSource)
{
    COleDropSource defaultSource;
    COleDropSource& source = dropSource != nullptr ? *dropSource : defaultSource;
    source.m_rectStartDrag = startDrag != nullptr ? CRect(startDrag) : CRect();
    HWND starter = ::GetCapture() != nullptr ? ::GetCapture() : ::GetFocus();
    if (!source.OnBeginDrag(CWnd::FromHandle(starter)))
        return DROPEFFECT_NONE;
    DWORD effect = DROPEFFECT_NONE;
    if (::DoDragDrop(m_pView.get(), source.GetDropSource(), effects, &effect) != DRAGDROP_S_DROP)
        return DROPEFFECT_NONE;
    return effect;
}

void COleDataSource::SetClipboard()
{
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        for (const Entry& entry : m_arrEntries) {
            HGLOBAL copy = CopyGlobalBlock(entry.block);
            if (copy != nullptr && SetClipboardData(entry.format, copy) == nullptr)
                GlobalFree(copy);
        }
        CloseClipboard();
    }
    if (ClipboardSource().get() != this)
        ClipboardSource().reset(this);
}

HGLOBAL COleDataSource::CachedBlock(CLIPFORMAT format) const
{
    auto it = FindFormat(m_arrEntries, format);
    return it != m_arrEntries.end() ? it->block : nullptr;
}
