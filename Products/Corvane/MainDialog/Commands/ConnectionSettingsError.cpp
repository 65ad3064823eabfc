#include "Products/Corvane/MainDialog/Commands/ConnectionSettingsError.h"

#include "Common/Communication/ZellException.h"
#include "Platform/Base/TextConversion.h"

#include <string>

namespace Corvane {

CString CConnectionSettingsError::MessageOf(const std::exception_ptr& error)
{
    const CString text = TextOf(error);
    if (text.IsEmpty())
        return kPrefix;
    return CString(kPrefix) + L"\n\n" + text;
}

CString CConnectionSettingsError::TextOf(const std::exception_ptr& error)
{
    if (!error)
        return CString();
    try {
        std::rethrow_exception(error);
    } catch (CZellException& e) {
        // Exceptions without a summary carry their text as the message.
        const CString text = e.GetText();
        return text.IsEmpty() ? CString(e.m_szMessage) : text;
    } catch (const CString& text) {
        return text;
    } catch (const std::wstring& text) {
        return text.c_str();
    } catch (const wchar_t* text) {
        return text != nullptr ? CString(text) : CString();
    } catch (const std::exception& e) {
        return Text::Utf8ToWide(e.what()).c_str();
    } catch (...) {
        return CString();
    }
}

}  // namespace Corvane
