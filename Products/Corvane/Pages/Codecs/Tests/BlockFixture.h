#pragma once
// A device block of a chosen length with guard words behind it, so that a
// test sees any word read or written past the block's length, and a
// capability file written into a folder of its own.

#include "Products/Corvane/Core/DeviceCapabilityFile.h"
#include "Products/Corvane/Pages/Codecs/DeviceBlock.h"
#include "Products/Corvane/Core/Tests/TempFolder.h"

#include <algorithm>
#include <string>
#include <vector>

namespace Corvane {

class CGuardedBlock {
public:
    static constexpr WORD kGuard = 0xA5A5;
    static constexpr std::size_t kGuardWords = 8;

    explicit CGuardedBlock(std::size_t length, WORD fill = 0) : m_arrWords(length + kGuardWords, kGuard), m_nLength(length)
    {
        std::fill_n(m_arrWords.begin(), length, fill);
    }

    CDeviceBlock Block() { return CDeviceBlock(m_arrWords.data(), static_cast<DWORD>(m_nLength)); }
    WORD& operator[](std::size_t index) { return m_arrWords.at(index); }
    WORD operator[](std::size_t index) const { return m_arrWords.at(index); }
    bool GuardIntact() const
    {
        return std::all_of(m_arrWords.begin() + static_cast<std::ptrdiff_t>(m_nLength), m_arrWords.end(),
                           [](WORD word) { return word == kGuard; });
    }

private:
    std::vector<WORD> m_arrWords;
    std::size_t m_nLength;
};

class CCapabilityFileFixture {
public:
    CDeviceCapabilityFile Write(const std::string& content)
    {
        return CDeviceCapabilityFile(CString(m_Folder.Write("corvane.ini", content).wstring()));
    }

private:
    CTempFolder m_Folder;
};

}  // namespace Corvane
