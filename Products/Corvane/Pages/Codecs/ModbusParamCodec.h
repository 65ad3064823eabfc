#pragma once
// The serial MODBUS line settings, packed into word 2 of the device block:
// baud index (bits 0-3), data frame (4-6), end-of-frame time (7-9), mode
// (10), error check (11), watchdog off (12) and one mode bit (13); bits 14
// and 15 are not the page's.
//
// Store replaces only the fields the user changed since the last load, and a
// field whose list shows no selection (-1) keeps its bits: an unknown code of
// the device survives, and a word that another page changed is not put back.

#include "Products/Corvane/Pages/Codecs/DeviceBlock.h"

#include <array>
#include <optional>

namespace Corvane {

class CModbusParamCodec {
public:
    static constexpr DWORD kParamWord = 2;
    static constexpr int kBaudCount = 11;
    static constexpr int kModeCount = 2;

    struct CFields {
        int BaudIndex = 0;
        int FrameIndex = 0;
        int EndOfFrameIndex = 0;
        int ModeIndex = 0;
        bool ErrorCheck = false;
        bool Watchdog = true;
        // Box 1265 as controllers read it: bit 13 clear means the library is used.
        bool UseLibrary = true;
        // Box 1265 as other devices read it: bit 13 set is compatibility mode.
        bool Compatibility = false;
    };

    void Load(const CDeviceBlock& block);
    // False without a block.
    bool Store(CDeviceBlock& block, bool controller);

    // -1 for a code or index the tables do not hold.
    static int FrameIndexOfCode(int code);
    static int FrameCodeOfIndex(int index);
    static int EndOfFrameIndexOfCode(int code);
    static int EndOfFrameCodeOfIndex(int index);

    CFields Values;

private:
    // Each field as (mask, bits) of word 2; none when it has no valid value.
    struct CBits {
        WORD Mask = 0;
        std::optional<WORD> Bits;
    };
    static std::array<CBits, 7> FieldBits(const CFields& fields, bool controller);

    // Word 2 as last loaded or stored: the fields that differ from it are
    // the user's changes.
    std::optional<WORD> m_wLoadedWord;
};

}  // namespace Corvane
