#pragma once
// The texts in which a device describes itself, all of the form key=value:
// the identification items ("ORDER=0612-0001;SN=...;FWL-VER=IDX=3"), the
// network identification ("MAC-ID=025AE1000001") and the internal variables
// ("IP=192.168.1.10;NAME=coupler").
//
// Each item is split at its first "=" only, so a value may carry "=" itself
// (the firmware-loader version IDX=3) and an empty value never makes the
// next key look like a value. The texts come from the device: they are cut
// to a sane length before they are looked at.

#include "Common/Communication/PelorusApi.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

class PELORUS_API CIdentificationText {
public:
    static constexpr std::size_t kMaxTextLength = 8192;
    static constexpr std::size_t kMaxValueLength = 255;

    // False when the text holds fewer than two of the pieces between "="
    // and ";", i.e. not even one key with a value.
    bool Parse(const std::wstring& text);
    // The value of the first item with this key; empty when there is none.
    std::wstring Value(const std::wstring& key) const;

    // The text must split at "=" into exactly two non-empty parts.
    static bool SplitNetworkID(const std::wstring& text, std::wstring& networkId, std::wstring& macAddress);
    // The item at `index` (counted from 1) of a ";"-separated list, split at
    // its first "="; false for index 0 and for an index past the list.
    static bool InternalVariable(const std::wstring& text, unsigned short index, std::wstring& name,
                                 std::wstring& value);

private:
    static std::wstring Bounded(const std::wstring& text, std::size_t length);
    static std::pair<std::wstring, std::wstring> SplitItem(const std::wstring& item);

    std::vector<std::pair<std::wstring, std::wstring>> m_items;
};
