#pragma once
// The values and records of in-process drag and drop: effects, the drag
// loop's results and errors, and how data is described and handed over.
// Data travels in global-memory blocks only (TYMED_HGLOBAL).

#include "Platform/Base/GlobalMemory.h"
#include "Platform/Base/Types.h"

using DROPEFFECT = DWORD;
using SCODE = HRESULT;
using CLIPFORMAT = WORD;

constexpr DROPEFFECT DROPEFFECT_NONE = 0;
constexpr DROPEFFECT DROPEFFECT_COPY = 1;
constexpr DROPEFFECT DROPEFFECT_MOVE = 2;
constexpr DROPEFFECT DROPEFFECT_LINK = 4;
constexpr DROPEFFECT DROPEFFECT_SCROLL = 0x80000000u;

// Key state bits of the drag calls beyond the mouse messages' MK_ bits.
constexpr DWORD MK_ALT = 0x20;

constexpr HRESULT DRAGDROP_S_DROP = 0x00040100;
constexpr HRESULT DRAGDROP_S_CANCEL = 0x00040101;
constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;
constexpr HRESULT DRAGDROP_E_NOTREGISTERED = static_cast<HRESULT>(0x80040100u);
constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = static_cast<HRESULT>(0x80040101u);
constexpr HRESULT DRAGDROP_E_INVALIDHWND = static_cast<HRESULT>(0x80040102u);
constexpr HRESULT DV_E_FORMATETC = static_cast<HRESULT>(0x80040064u);
constexpr HRESULT DV_E_TYMED = static_cast<HRESULT>(0x80040069u);
constexpr HRESULT DV_E_DVASPECT = static_cast<HRESULT>(0x8004006Bu);

constexpr DWORD TYMED_NULL = 0;
constexpr DWORD TYMED_HGLOBAL = 1;
constexpr DWORD DVASPECT_CONTENT = 1;

struct POINTL {
    LONG x = 0;
    LONG y = 0;
};

struct FORMATETC {
    CLIPFORMAT cfFormat = 0;
    void* ptd = nullptr;  // no target devices here
    DWORD dwAspect = DVASPECT_CONTENT;
    LONG lindex = -1;
    DWORD tymed = TYMED_HGLOBAL;
};
using LPFORMATETC = FORMATETC*;

struct STGMEDIUM {
    DWORD tymed = TYMED_NULL;
    HGLOBAL hGlobal = nullptr;
    void* pUnkForRelease = nullptr;  // always null: the receiver frees the block
};
using LPSTGMEDIUM = STGMEDIUM*;

// S_OK when the description asks for content in a global block, else
// E_INVALIDARG (none), DV_E_TYMED or DV_E_DVASPECT.
HRESULT CheckGlobalFormat(const FORMATETC* format);
// Frees what the medium holds and empties it.
void ReleaseStgMedium(STGMEDIUM* medium);
// A new block with the same bytes, or null (last error set) when the source
// is no block or no memory is left.
HGLOBAL CopyGlobalBlock(HGLOBAL source);
