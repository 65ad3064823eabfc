#pragma once
// Data offered for a drag or put on the clipboard: global blocks by format,
// owned by the source from the moment they are cached.

#include "Platform/Framework/Core/CmdTarget.h"
#include "Platform/Shell/DataObject.h"

#include <memory>
#include <vector>

class COleDropSource;

class COleDataSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDataSource)
public:
    COleDataSource();
    ~COleDataSource() override;

    // The source takes the block (a block cached before for the format is
    // freed). Null blocks are ignored.
    void CacheGlobalData(CLIPFORMAT format, HGLOBAL block, LPFORMATETC formatEtc = nullptr);
    // The same for a medium, which the source takes over; only global blocks
    // are kept, anything else is released at once.
    void CacheData(CLIPFORMAT format, LPSTGMEDIUM medium, LPFORMATETC formatEtc = nullptr);
    // Frees everything cached.
    void Empty();

    // Waits for the drag to start (the pointer leaves `startDrag`, screen
    // coordinates, or the small rectangle round the press), then runs it.
    // The effect the target chose; DROPEFFECT_NONE when the drag did not
    // start, was cancelled or nobody took the data.
    DROPEFFECT DoDragDrop(DWORD effects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          LPCRECT startDrag = nullptr, COleDropSource* dropSource = nullptr);

    // Puts copies of the cached data on the clipboard. The clipboard then
    // owns this object (it must have been made with new): it is deleted when
    // another source takes the clipboard, or at exit; also when the
    // clipboard could not be opened and nothing was put there.
    void SetClipboard();

private:
    friend class COleDataSourceView;

    HGLOBAL CachedBlock(CLIPFORMAT format) const;

    struct Entry {
        CLIPFORMAT format = 0;
        HGLOBAL block = nullptr;
    };
    std::vector<Entry> m_arrEntries;
    std::unique_ptr<IDataObject> m_pView;
};
