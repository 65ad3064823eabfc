#pragma once
// Reads offered data: what a drag brings to a drop target, or the clipboard.
// Every block it hands out is a copy that the caller frees.

#include "Platform/Shell/DataObject.h"

#include <memory>

class COleDataObject {
public:
    COleDataObject();
    ~COleDataObject();
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // Reads from `data`, which stays its owner's and must outlive the
    // attachment; `autoRelease` is kept for callers' sake, nothing is counted.
    void Attach(IDataObject* data, BOOL autoRelease = TRUE);
    // Reads from the clipboard from now on.
    BOOL AttachClipboard();
    // Reads from nothing any more.
    void Release();

    BOOL IsDataAvailable(CLIPFORMAT format, LPFORMATETC formatEtc = nullptr);
    // A new block with the data (the caller frees it), or null when the
    // format is not there or cannot be copied.
    HGLOBAL GetGlobalData(CLIPFORMAT format, LPFORMATETC formatEtc = nullptr);
    // The data in `medium`, which the caller releases (ReleaseStgMedium).
    BOOL GetData(CLIPFORMAT format, LPSTGMEDIUM medium, LPFORMATETC formatEtc = nullptr);

private:
    FORMATETC Describe(CLIPFORMAT format, const FORMATETC* formatEtc) const;

    IDataObject* m_pData = nullptr;
    std::unique_ptr<IDataObject> m_pClipboard;  // the clipboard's view while attached to it
};
