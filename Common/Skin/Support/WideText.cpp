#include "Common/Skin/Support/WideText.h"

#include "Platform/Base/CodePage.h"

namespace ZELL::Skin {

CWideText::CWideText(LPCSTR text)
{
    if (text == nullptr)
        return;
    const int length = ::MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (::MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, wide.data(), length) != length)
        return;
    wide.resize(static_cast<std::size_t>(length - 1));  // without the terminator
    m_text = std::move(wide);
}

std::string CWideText::Narrow(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int count = static_cast<int>(text.size());
    const int length = ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.c_str(), count, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return {};
    std::string narrow(static_cast<std::size_t>(length), '\0');
    if (::WideCharToMultiByte(CP_THREAD_ACP, 0, text.c_str(), count, narrow.data(), length, nullptr, nullptr) != length)
        return {};
    return narrow;
}

}  // namespace ZELL::Skin
