#pragma once
// Test doubles of a drag: text data, a source that drops when the left
// button goes up, and a target that records what it is told.
#include "Platform/Shell/DragDrop.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace DragTest {

inline HGLOBAL TextBlock(const std::string& text)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    return block;
}

inline std::string TextOf(HGLOBAL block)
{
    const char* bytes = static_cast<const char*>(GlobalLock(block));
    std::string text = bytes != nullptr ? std::string(bytes, strnlen(bytes, GlobalSize(block))) : std::string();
    GlobalUnlock(block);
    return text;
}

class TextData : public IDataObject {
public:
    explicit TextData(std::string text) : m_text(std::move(text)) {}
    HRESULT GetData(const FORMATETC* format, STGMEDIUM* medium) override
    {
        const HRESULT offered = QueryGetData(format);
        if (offered != S_OK)
            return offered;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = TextBlock(m_text);
        return S_OK;
    }
    HRESULT QueryGetData(const FORMATETC* format) override
    {
        return format->cfFormat == CF_TEXT ? S_OK : DV_E_FORMATETC;
    }

private:
    std::string m_text;
};

// Goes on while the left button is held, as a source does by default.
// `onFeedback` runs each time the drag asks for the cursor.
class Source : public IDropSource {
public:
    HRESULT QueryContinueDrag(BOOL escapePressed, DWORD keyState) override
    {
        if (escapePressed)
            return DRAGDROP_S_CANCEL;
        return (keyState & MK_LBUTTON) == 0 ? DRAGDROP_S_DROP : S_OK;
    }
    HRESULT GiveFeedback(DWORD effect) override
    {
        m_feedback.push_back(effect);
        if (m_onFeedback)
            m_onFeedback();
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }
    std::function<void()> m_onFeedback;
    std::vector<DWORD> m_feedback;
};

struct Call {
    char kind = 0;  // E(nter), O(ver), L(eave), D(rop)
    DWORD keyState = 0;
    POINTL point{};
};

// Copies with Ctrl held, moves otherwise, or refuses everything.
class Target : public IDropTarget {
public:
    HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override
    {
        m_calls.push_back({'E', keyState, point});
        FORMATETC text;
        text.cfFormat = CF_TEXT;
        m_hasText = data->QueryGetData(&text) == S_OK;
        *effect = Choose(keyState, *effect);
        return S_OK;
    }
    HRESULT DragOver(DWORD keyState, POINTL point, DWORD* effect) override
    {
        m_calls.push_back({'O', keyState, point});
        *effect = Choose(keyState, *effect);
        return S_OK;
    }
    HRESULT DragLeave() override
    {
        m_calls.push_back({'L'});
        return S_OK;
    }
    HRESULT Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override
    {
        m_calls.push_back({'D', keyState, point});
        FORMATETC text;
        text.cfFormat = CF_TEXT;
        STGMEDIUM medium;
        if (data->GetData(&text, &medium) == S_OK) {
            m_dropped = TextOf(medium.hGlobal);
            ReleaseStgMedium(&medium);
        }
        *effect = Choose(keyState, *effect);
        return S_OK;
    }
    std::string Kinds() const
    {
        std::string kinds;
        for (const Call& call : m_calls)
            kinds += call.kind;
        return kinds;
    }

    bool m_refuse = false;
    std::vector<Call> m_calls;
    std::string m_dropped;

private:
    DWORD Choose(DWORD keyState, DWORD allowed) const
    {
        if (m_refuse || !m_hasText)
            return DROPEFFECT_NONE;
        return ((keyState & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE) & allowed;
    }
    bool m_hasText = false;
};

}
