#include "Platform/Display/X11Clipboard.h"

#include "Platform/Base/TextConversion.h"


#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

namespace Display::X11 {
namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

std::wstring WithoutCarriageReturns(std::wstring_view text)
{
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
            continue;
        out.push_back(text[i]);
    }
    return out;
}

// Only bare line feeds gain a carriage return, so text that has CRLF already stays as it is.
std::wstring WithCarriageReturns(std::wstring_view text)
{
    std::wstring out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r'))
            out.push_back(L'\r');
        out.push_back(text[i]);
    }
    return out;
}

}

CX11Clipboard::CX11Clipboard(CX11Connection& connection, const char* selection)
    : m_connection(connection), m_selectionName(selection), m_transferProperty(std::string("ZELL_") + selection)
{
}

Atom CX11Clipboard::Selection()
{
    return m_connection.GetAtom(m_selectionName.c_str());
}

CX11Clipboard::~CX11Clipboard()
{
    Destroy();
}

bool CX11Clipboard::Create()
{
    XDisplay* display = m_connection.GetDisplay();
    if (!display)
        return false;
    if (m_window)
        return true;
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    m_window = XCreateWindow(display, m_connection.GetRoot(), -10, -10, 1, 1, 0, CopyFromParent, InputOnly,
                             CopyFromParent, CWEventMask, &attributes);
    return m_window != 0;
}

void CX11Clipboard::Destroy()
{
    if (!m_window)
        return;
    // Only the clipboard outlives its owner; the pointer's selection goes with it.
    if (m_owner && m_selectionName == "CLIPBOARD")
        HandOverToManager(kHandOverMs);
    Empty();
    if (XDisplay* display = m_connection.GetDisplay())
        XDestroyWindow(display, m_window);
    m_window = 0;
}

Time CX11Clipboard::ServerTime()
{
    // A zero-length append changes nothing but earns a PropertyNotify stamped with the server's time.
    XDisplay* display = m_connection.GetDisplay();
    const Atom stamp = m_connection.GetAtom("ZELL_TIMESTAMP");
    XChangeProperty(display, m_window, stamp, XA_STRING, 8, PropModeAppend, nullptr, 0);
    XEvent event{};
    const auto deadline = Clock::now() + std::chrono::milliseconds(500);
    while (WaitForEvent(PropertyNotify, MillisecondsLeft(deadline), event)) {
        if (event.xproperty.atom == stamp) {
            m_connection.NoteEventTime(event.xproperty.time);
            return event.xproperty.time;
        }
    }
    return m_connection.GetLastEventTime();
}

bool CX11Clipboard::SetText(std::wstring_view text)
{
    XDisplay* display = m_connection.GetDisplay();
    if (!display || !m_window)
        return false;
    const Atom clipboard = Selection();
    const Time time = ServerTime();
    XSetSelectionOwner(display, clipboard, m_window, time);
    if (XGetSelectionOwner(display, clipboard) != m_window) {
        m_owner = false;
        m_utf8.clear();
        return false;
    }
    m_owner = true;
    m_ownedSince = time;
    m_utf8 = Text::WideToUtf8(WithoutCarriageReturns(text));
    return true;
}

void CX11Clipboard::Empty()
{
    if (!m_owner)
        return;
    XDisplay* display = m_connection.GetDisplay();
    const Atom clipboard = Selection();
    if (display && XGetSelectionOwner(display, clipboard) == m_window)
        XSetSelectionOwner(display, clipboard, 0, m_ownedSince);
    m_owner = false;
    m_utf8.clear();
}

std::size_t CX11Clipboard::MaxPropertyBytes() const
{
    XDisplay* display = m_connection.GetDisplay();
    long words = XExtendedMaxRequestSize(display);
    if (words <= 0)
        words = XMaxRequestSize(display);
    // Room for the request header; the property travels in one request.
    return static_cast<std::size_t>(words) * 4 - 64;
}

bool CX11Clipboard::HandleEvent(const XEvent& event)
{
    if (!m_window)
        return false;
    if (event.type == SelectionRequest && event.xselectionrequest.owner == m_window) {
        AnswerRequest(event.xselectionrequest);
        return true;
    }
    if (event.type == SelectionClear && event.xselectionclear.window == m_window) {
        if (event.xselectionclear.selection == Selection()) {
            m_owner = false;
            m_utf8.clear();
        }
        return true;
    }
    // Late answers to a read that timed out, and our own timestamp changes.
    return event.xany.window == m_window && (event.type == SelectionNotify || event.type == PropertyNotify);
}

void CX11Clipboard::AnswerRequest(const XSelectionRequestEvent& request)
{
    XDisplay* display = m_connection.GetDisplay();
    XSelectionEvent answer{};
    answer.type = SelectionNotify;
    answer.display = display;
    answer.requestor = request.requestor;
    answer.selection = request.selection;
    answer.target = request.target;
    answer.time = request.time;
    // Clients of the old protocol name no property: the target stands in.
    const Atom property = request.property ? request.property : request.target;
    const bool ours = m_owner && request.selection == Selection() &&
                      (request.time == CurrentTime || request.time >= m_ownedSince);
    answer.property = ours && ConvertTarget(request.requestor, request.target, property) ? property : 0;
    XSendEvent(display, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&answer));
    XFlush(display);
}

bool CX11Clipboard::ConvertTarget(Window requestor, Atom target, Atom property)
{
    XDisplay* display = m_connection.GetDisplay();
    const Atom utf8 = m_connection.GetAtom("UTF8_STRING");
    const Atom targets = m_connection.GetAtom("TARGETS");
    const Atom text = m_connection.GetAtom("TEXT");
    const Atom mime = m_connection.GetAtom("text/plain;charset=utf-8");
    const Atom timestamp = m_connection.GetAtom("TIMESTAMP");
    const Atom multiple = m_connection.GetAtom("MULTIPLE");
    if (target == multiple)
        return ConvertMultiple(requestor, property);
    if (target == targets) {
        const Atom list[] = {targets, timestamp, multiple, utf8, mime, text, XA_STRING};
        XChangeProperty(display, requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(list), static_cast<int>(std::size(list)));
        return true;
    }
    if (target == timestamp) {
        const long stamp = static_cast<long>(m_ownedSince);
        XChangeProperty(display, requestor, property, XA_INTEGER, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&stamp), 1);
        return true;
    }
    std::string bytes;
    Atom type = 0;
    if (target == utf8 || target == mime || target == text) {
        bytes = m_utf8;
        type = target == mime ? mime : utf8;
    } else if (target == XA_STRING) {
        bytes = Text::WideToLatin1(Text::Utf8ToWide(m_utf8));
        type = XA_STRING;
    } else {
        return false;
    }
    // Larger texts would need the incremental protocol; refusing is better than a broken transfer.
    if (bytes.size() > MaxPropertyBytes())
        return false;
    XChangeProperty(display, requestor, property, type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    return true;
}

bool CX11Clipboard::ConvertMultiple(Window requestor, Atom property)
{
    // The property holds (target, property) pairs; each one we cannot give gets None.
    XDisplay* display = m_connection.GetDisplay();
    constexpr long kMaxPairs = 64;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, requestor, property, 0, 2 * kMaxPairs, False, AnyPropertyType, &type, &format, &count,
                           &after, &data) != Success) {
        return false;
    }
    std::vector<Atom> pairs;
    if (data && format == 32)
        pairs.assign(reinterpret_cast<const Atom*>(data), reinterpret_cast<const Atom*>(data) + (count & ~1ul));
    if (data)
        XFree(data);
    if (pairs.empty())
        return false;
    const Atom multiple = m_connection.GetAtom("MULTIPLE");
    for (std::size_t i = 0; i < pairs.size(); i += 2) {
        if (pairs[i] == multiple || pairs[i + 1] == 0 || !ConvertTarget(requestor, pairs[i], pairs[i + 1]))
            pairs[i + 1] = 0;
    }
    XChangeProperty(display, requestor, property, type, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(pairs.data()),
                    static_cast<int>(pairs.size()));
    return true;
}

bool CX11Clipboard::HandOverToManager(int timeoutMs)
{
    XDisplay* display = m_connection.GetDisplay();
    const Atom manager = m_connection.GetAtom("CLIPBOARD_MANAGER");
    if (!display || XGetSelectionOwner(display, manager) == 0)
        return false;
    XConvertSelection(display, manager, m_connection.GetAtom("SAVE_TARGETS"), m_connection.GetAtom("ZELL_SAVE_TARGETS"),
                      m_window, ServerTime());
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    XEvent event{};
    while (MillisecondsLeft(deadline) > 0) {
        // The manager reads our targets before it answers.
        while (WaitForEvent(SelectionRequest, 0, event))
            AnswerRequest(event.xselectionrequest);
        if (WaitForEvent(SelectionNotify, std::min(10, MillisecondsLeft(deadline)), event) &&
            event.xselection.selection == manager)
            return event.xselection.property != 0;
    }
    return false;
}

bool CX11Clipboard::WaitForEvent(int type, int timeoutMs, XEvent& event)
{
    // Other events stay queued, in order, for the event pump.
    return m_connection.WaitForWindowEvent(m_window, type, timeoutMs, event);
}

bool CX11Clipboard::RequestAndWait(Atom target, int timeoutMs, XSelectionEvent& answer)
{
    XDisplay* display = m_connection.GetDisplay();
    const Atom clipboard = Selection();
    const Atom property = m_connection.GetAtom(m_transferProperty.c_str());
    XDeleteProperty(display, m_window, property);
    // Not the time of our last event: the owner may have taken the selection after it,
    // and the server refuses requests older than the ownership.
    XConvertSelection(display, clipboard, target, property, m_window, CurrentTime);
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    XEvent event{};
    while (WaitForEvent(SelectionNotify, MillisecondsLeft(deadline), event)) {
        // An answer to an earlier request that timed out is not this one's.
        if (event.xselection.selection != clipboard || event.xselection.target != target)
            continue;
        answer = event.xselection;
        return answer.property != 0;
    }
    return false;
}

bool CX11Clipboard::ReadProperty(Atom& type, std::string& bytes, bool& incremental)
{
    XDisplay* display = m_connection.GetDisplay();
    const Atom property = m_connection.GetAtom(m_transferProperty.c_str());
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const long maxWords = static_cast<long>(kMaxTextBytes / 4);
    if (XGetWindowProperty(display, m_window, property, 0, maxWords, True, AnyPropertyType, &type, &format, &count,
                           &after, &data) != Success) {
        return false;
    }
    bool ok = false;
    incremental = type == m_connection.GetAtom("INCR");
    if (incremental || type == 0) {
        ok = true;
    } else if (format == 8 && after == 0 && count <= kMaxTextBytes) {
        bytes.assign(reinterpret_cast<const char*>(data), count);
        ok = true;
    }
    if (data)
        XFree(data);
    if (after != 0)
        XDeleteProperty(display, m_window, property);
    return ok;
}

bool CX11Clipboard::ReadIncremental(std::string& bytes, int timeoutMs)
{
    const Atom property = m_connection.GetAtom(m_transferProperty.c_str());
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    bytes.clear();
    XEvent event{};
    // Deleting the INCR property (ReadProperty did) asks for the first chunk; each read asks for the next.
    while (WaitForEvent(PropertyNotify, MillisecondsLeft(deadline), event)) {
        if (event.xproperty.atom != property || event.xproperty.state != PropertyNewValue)
            continue;
        Atom type = 0;
        std::string chunk;
        bool nested = false;
        if (!ReadProperty(type, chunk, nested) || nested)
            return false;
        // A notice whose value was read already (the INCR announcement itself) leaves nothing behind.
        if (type == 0)
            continue;
        if (chunk.empty())
            return true;
        if (bytes.size() + chunk.size() > kMaxTextBytes)
            return false;
        bytes += chunk;
    }
    return false;
}

bool CX11Clipboard::GetText(std::wstring& text, int timeoutMs)
{
    XDisplay* display = m_connection.GetDisplay();
    if (!display || !m_window)
        return false;
    if (m_owner) {
        text = WithCarriageReturns(Text::Utf8ToWide(m_utf8));
        return true;
    }
    const Atom clipboard = Selection();
    if (XGetSelectionOwner(display, clipboard) == 0)
        return false;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (const Atom target : {m_connection.GetAtom("UTF8_STRING"), static_cast<Atom>(XA_STRING)}) {
        XSelectionEvent answer{};
        if (!RequestAndWait(target, MillisecondsLeft(deadline), answer))
            continue;
        Atom type = 0;
        std::string bytes;
        bool incremental = false;
        if (!ReadProperty(type, bytes, incremental) || type == 0)
            return false;
        if (incremental) {
            if (!ReadIncremental(bytes, MillisecondsLeft(deadline)))
                return false;
        }
        text = WithCarriageReturns(target == XA_STRING && type == XA_STRING ? Text::Latin1ToWide(bytes)
                                                                             : Text::Utf8ToWide(bytes));
        return true;
    }
    return false;
}

bool CX11Clipboard::HasText(int timeoutMs)
{
    XDisplay* display = m_connection.GetDisplay();
    if (!display || !m_window)
        return false;
    if (m_owner)
        return true;
    if (XGetSelectionOwner(display, Selection()) == 0)
        return false;
    XSelectionEvent answer{};
    if (!RequestAndWait(m_connection.GetAtom("TARGETS"), timeoutMs, answer))
        return false;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    Atom type = 0;
    if (XGetWindowProperty(display, m_window, answer.property, 0, 1024, True, AnyPropertyType, &type, &format, &count, &after,
                           &data) != Success) {
        return false;
    }
    bool found = false;
    if (data && format == 32) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        const Atom textual[] = {m_connection.GetAtom("UTF8_STRING"), XA_STRING, m_connection.GetAtom("TEXT"),
                                m_connection.GetAtom("text/plain;charset=utf-8")};
        for (unsigned long i = 0; i < count && !found; ++i)
            found = std::find(std::begin(textual), std::end(textual), atoms[i]) != std::end(textual);
    }
    if (data)
        XFree(data);
    return found;
}

}
