#include "Platform/Framework/DragDrop/OleDataObject.h"

#include "Platform/Shell/ClipboardDataObject.h"

COleDataObject::COleDataObject() = default;

COleDataObject::~COleDataObject() = default;

void COleDataObject::Attach(IDataObject* data, BOOL)
{
    Release();
    m_data = data;
}

BOOL COleDataObject::AttachClipboard()
{
    Release();
    m_clipboard = std::make_unique<CClipboardDataObject>();
    m_data = m_clipboard.get();
    return TRUE;
}

void COleDataObject::Release()
{
    m_data = nullptr;
    m_clipboard.reset();
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT format, LPFORMATETC formatEtc)
{
    if (m_data == nullptr)
        return FALSE;
    const FORMATETC wanted = Describe(format, formatEtc);
    return m_data->QueryGetData(&wanted) == S_OK;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT format, LPFORMATETC formatEtc)
{
    STGMEDIUM medium;
    if (!GetData(format, &medium, formatEtc))
        return nullptr;
    return medium.hGlobal;
}

BOOL COleDataObject::GetData(CLIPFORMAT format, LPSTGMEDIUM medium, LPFORMATETC formatEtc)
{
    if (m_data == nullptr || medium == nullptr)
        return FALSE;
    const FORMATETC wanted = Describe(format, formatEtc);
    STGMEDIUM got;
    if (m_data->GetData(&wanted, &got) != S_OK)
        return FALSE;
    if (got.tymed != TYMED_HGLOBAL || got.hGlobal == nullptr) {
        ReleaseStgMedium(&got);
        return FALSE;
    }
    *medium = got;
    return TRUE;
}

FORMATETC COleDataObject::Describe(CLIPFORMAT format, const FORMATETC* formatEtc) const
{
    FORMATETC described = formatEtc != nullptr ? *formatEtc : FORMATETC{};
    described.cfFormat = format;
    return described;
}
