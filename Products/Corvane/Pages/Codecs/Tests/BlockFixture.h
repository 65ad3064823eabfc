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

class CGuardedBlock {
public:
    static constexpr WORD Guard = 0xA5A5;
    static constexpr std::size_t GuardWords = 8;

    explicit CGuardedBlock(std::size_t length, WORD fill = 0) : m_words(length + GuardWords, Guard), m_length(length)
    {
        std::fill_n(m_words.begin(), length, fill);
    }

    CDeviceBlock Block() { return CDeviceBlock(m_words.data(), static_cast<DWORD>(m_length)); }
    WORD& operator[](std::size_t index) { return m_words.at(index); }
    WORD operator[](std::size_t index) const { return m_words.at(index); }
    bool GuardIntact() const
    {
        return std::all_of(m_words.begin() + static_cast<std::ptrdiff_t>(m_length), m_words.end(),
                           [](WORD word) { return word == Guard; });
    }

private:
    std::vector<WORD> m_words;
    std::size_t m_length;
};

class CCapabilityFileFixture {
public:
    CDeviceCapabilityFile Write(const std::string& content)
    {
        return CDeviceCapabilityFile(CString(m_folder.Write("corvane.ini", content).wstring()));
    }

private:
    CTempFolder m_folder;
};
