#pragma once
// Text on an X selection (CLIPBOARD, or PRIMARY, which holds what the user
// selected last and which a middle click pastes): owning it and answering
// other clients' requests, and reading another owner's text with a bounded wait.
// Text on the clipboard ends its lines with LF, as X clients expect; text
// read from it ends them with CRLF, as the window layer's clients expect.

#include "Platform/Display/X11Connection.h"

#include <string>
#include <string_view>

namespace Display::X11 {

class CX11Clipboard {
public:
    // Reading more than this from another client is refused as a fault.
    static constexpr std::size_t kMaxTextBytes = 16u << 20;

    explicit CX11Clipboard(CX11Connection& connection, const char* selection = "CLIPBOARD");
    ~CX11Clipboard();
    CX11Clipboard(const CX11Clipboard&) = delete;
    CX11Clipboard& operator=(const CX11Clipboard&) = delete;

    // How long a clipboard manager gets to take the text over when this client goes.
    static constexpr int kHandOverMs = 1500;

    // Creates the unmapped window that owns the selection and receives transfers.
    bool Create();
    // Hands held text to a clipboard manager first, if one runs, so that the
    // text outlives this client.
    void Destroy();

    // Takes ownership of the selection with the text. False when the server
    // gives the selection to someone else.
    bool SetText(std::wstring_view text);
    // Gives up ownership when this client holds the selection.
    void Empty();
    bool IsOwner() const { return m_owner; }

    // The current clipboard text. Another owner gets `timeoutMs` in all to
    // answer; false when there is no owner, it offers no text, it is too
    // slow, or what it sends is malformed or larger than kMaxTextBytes.
    bool GetText(std::wstring& text, int timeoutMs);

    // Whether the clipboard holds text, asking another owner for its targets.
    bool HasText(int timeoutMs);

    // Takes the selection events addressed to this clipboard; false for any other event.
    bool HandleEvent(const XEvent& event);

private:
    Atom Selection();
    Time ServerTime();
    void AnswerRequest(const XSelectionRequestEvent& request);
    bool ConvertTarget(Window requestor, Atom target, Atom property);
    bool ConvertMultiple(Window requestor, Atom property);
    // Asks the owner of CLIPBOARD_MANAGER to save our targets and serves its
    // requests until it answers (or `timeoutMs` pass). True when it saved them.
    bool HandOverToManager(int timeoutMs);
    bool RequestAndWait(Atom target, int timeoutMs, XSelectionEvent& answer);
    // Reads and deletes the transfer property. False when it is malformed or
    // too large; an absent property is no fault and leaves `type` 0.
    bool ReadProperty(Atom& type, std::string& bytes, bool& incremental);
    bool ReadIncremental(std::string& bytes, int timeoutMs);
    bool WaitForEvent(int type, int timeoutMs, XEvent& event);
    std::size_t MaxPropertyBytes() const;

    CX11Connection& m_connection;
    std::string m_selectionName;
    std::string m_transferProperty;  // where another owner's answers arrive
    Window m_window = 0;
    bool m_owner = false;
    Time m_ownedSince = 0;
    std::string m_utf8; // held text, LF line ends
};

}
