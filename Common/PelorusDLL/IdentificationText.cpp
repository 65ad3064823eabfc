#include "Common/PelorusDLL/IdentificationText.h"

#include "Common/SystemHelper/Values/StringUtils.h"

std::wstring CIdentificationText::Bounded(const std::wstring& text, std::size_t length)
{
    return text.size() > length ? text.substr(0, length) : text;
}

std::pair<std::wstring, std::wstring> CIdentificationText::SplitItem(const std::wstring& item)
{
    const std::size_t mark = item.find(L'=');
    if (mark == std::wstring::npos)
        return {item, std::wstring()};
    return {item.substr(0, mark), Bounded(item.substr(mark + 1), kMaxValueLength)};
}

bool CIdentificationText::Parse(const std::wstring& text)
{
    m_items.clear();
    const std::wstring bounded = Bounded(text, kMaxTextLength);
    std::vector<std::wstring> pieces;
    if (SplitString(bounded, L"=;", pieces) < 2)
        return false;
    std::vector<std::wstring> items;
    SplitString(bounded, L";", items);
    for (const std::wstring& item : items)
        m_items.push_back(SplitItem(item));
    return true;
}

std::wstring CIdentificationText::Value(const std::wstring& key) const
{
    for (const auto& [itemKey, value] : m_items)
        if (itemKey == key)
            return value;
    return std::wstring();
}

bool CIdentificationText::SplitNetworkID(const std::wstring& text, std::wstring& networkId, std::wstring& macAddress)
{
    std::vector<std::wstring> parts;
    if (SplitString(Bounded(text, kMaxTextLength), L"=", parts) != 2)
        return false;
    networkId = Bounded(parts[0], kMaxValueLength);
    macAddress = Bounded(parts[1], kMaxValueLength);
    return true;
}

bool CIdentificationText::InternalVariable(const std::wstring& text, unsigned short index, std::wstring& name,
                                           std::wstring& value)
{
    std::vector<std::wstring> items;
    if (index == 0 || SplitString(Bounded(text, kMaxTextLength), L";", items) < index)
        return false;
    const auto [itemName, itemValue] = SplitItem(items[index - 1u]);
    name = Bounded(itemName, kMaxValueLength);
    value = itemValue;
    return true;
}
