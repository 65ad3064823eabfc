#include "Common/Communication/SettingsFields.h"

#include "Common/SystemHelper/Xml/XmlAccess.h"

#include <limits>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace ZELL::SettingsFieldStore {

namespace {

std::string Narrow(const wchar_t* name)
{
    std::string text;
    for (const wchar_t* c = name; *c != 0; ++c)
        text += *c < 0x80 ? static_cast<char>(*c) : '?';
    return text;
}

// The registry's DWORD when it fits the target and the check takes it.
template <typename Small>
void ReadChecked(const CSettingsRegistryKey& registry, const wchar_t* name, Small& value,
                 bool (*accepts)(std::uint32_t))
{
    if (accepts == nullptr) {
        registry.ReadNarrow(name, value);
        return;
    }
    std::uint32_t wide = static_cast<std::uint32_t>(value);
    registry.ReadDword(name, wide);
    if (wide <= std::numeric_limits<std::make_unsigned_t<Small>>::max() && accepts(wide))
        value = static_cast<Small>(wide);
}

}

void ReadXml(const Xml::CXmlNode& element, const wchar_t* name, std::wstring& value)
{
    value = XmlGetAttributeString(element, name, value);
}

void ReadXml(const Xml::CXmlNode& element, const wchar_t* name, std::uint32_t& value)
{
    value = XmlGetAttributeUInt32(element, name, value);
}

// A larger number keeps its low 16 bits, as the element reader always did.
void ReadXml(const Xml::CXmlNode& element, const wchar_t* name, std::uint16_t& value)
{
    value = XmlGetAttributeUShort(element, name, value);
}

void ReadXml(const Xml::CXmlNode& element, const wchar_t* name, std::int16_t& value)
{
    value = static_cast<std::int16_t>(XmlGetAttributeInt(element, name, value));
}

void ReadXml(const Xml::CXmlNode& element, const wchar_t* name, bool& value)
{
    value = XmlGetAttributeBool(element, name, value);
}

void CheckXml(const wchar_t* name, std::uint32_t value, bool (*accepts)(std::uint32_t))
{
    if (accepts != nullptr && !accepts(value))
        throw std::invalid_argument(Narrow(name) + " refuses the value " + std::to_string(value));
}

void Write(CSettingsElementWriter& writer, const wchar_t* name, const std::wstring& value) { writer.Add(name, value); }

void Write(CSettingsElementWriter& writer, const wchar_t* name, std::uint32_t value) { writer.Add(name, value); }

void Write(CSettingsElementWriter& writer, const wchar_t* name, std::uint16_t value)
{
    writer.Add(name, std::uint32_t{value});
}

void Write(CSettingsElementWriter& writer, const wchar_t* name, std::int16_t value)
{
    writer.Add(name, std::int32_t{value});
}

void Write(CSettingsElementWriter& writer, const wchar_t* name, bool value) { writer.AddBool(name, value); }

void Read(const CSettingsRegistryKey& registry, const wchar_t* name, std::wstring& value, bool (*)(std::uint32_t))
{
    registry.ReadString(name, value);
}

void Read(const CSettingsRegistryKey& registry, const wchar_t* name, std::uint32_t& value,
          bool (*accepts)(std::uint32_t))
{
    std::uint32_t read = value;
    registry.ReadDword(name, read);
    if (accepts == nullptr || accepts(read))
        value = read;
}

void Read(const CSettingsRegistryKey& registry, const wchar_t* name, std::uint16_t& value,
          bool (*accepts)(std::uint32_t))
{
    ReadChecked(registry, name, value, accepts);
}

void Read(const CSettingsRegistryKey& registry, const wchar_t* name, std::int16_t& value,
          bool (*accepts)(std::uint32_t))
{
    ReadChecked(registry, name, value, accepts);
}

void Read(const CSettingsRegistryKey& registry, const wchar_t* name, bool& value, bool (*)(std::uint32_t))
{
    registry.ReadBool(name, value);
}

bool Save(const CSettingsRegistryKey& registry, const wchar_t* name, const std::wstring& value)
{
    return registry.WriteString(name, value);
}

bool Save(const CSettingsRegistryKey& registry, const wchar_t* name, std::uint32_t value)
{
    return registry.WriteDword(name, value);
}

bool Save(const CSettingsRegistryKey& registry, const wchar_t* name, std::uint16_t value)
{
    return registry.WriteDword(name, value);
}

// A negative number is kept as its 32-bit two's complement.
bool Save(const CSettingsRegistryKey& registry, const wchar_t* name, std::int16_t value)
{
    return registry.WriteDword(name, static_cast<std::uint32_t>(std::int32_t{value}));
}

bool Save(const CSettingsRegistryKey& registry, const wchar_t* name, bool value)
{
    return registry.WriteBool(name, value);
}

}
