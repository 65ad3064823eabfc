#include "Platform/Framework/DragDrop/OleDataObject.h"

#include "Platform/Shell/ClipboardDataObject.h"

COleDataObject::COleDataObject() = default;

COleDataObject::~COleDataObject() = default;

void COleDataObject::Attach(IDataObject* data, BOOL)
{
    Release();
    m_pData = data;
}

BOOL COleDataObject::AttachClipboard()
{
    Release();
    m_pClipboard = std::make_unique<CClipboardDataObject>();
    m_pData = m_pClipboard.get();
    return TRUE;
}

void COleDataObject::Release()
{
    m_pData = nullptr;
    m_pClipboard.reset();
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT format, LPFORMATETC formatEtc)
{
    if (m_pData == nullptr)
        return FALSE;
    const FORMATETC wanted = Describe(format, formatEtc);
    return m_pData->QueryGetData(&wanted) == S_OK;
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
    if (m_pData == nullptr || medium == nullptr)
        return FALSE;
    const FORMATETC wanted = Describe(format, formatEtc);
    STGMEDIUM got;
    if (m_pData->GetData(&wanted, &got) != S_OK)
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
