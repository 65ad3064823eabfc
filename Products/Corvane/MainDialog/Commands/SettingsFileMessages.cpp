#include "Products/Corvane/MainDialog/Commands/SettingsFileMessages.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"

namespace Corvane {

namespace {

constexpr LPCWSTR kPortKeys[] = {L"BTN_INTERFACE_X1", L"BTN_INTERFACE_X2"};

}

CString CSettingsFileMessages::FileName(const CString& path)
{
    const int slash = path.ReverseFind(L'/');
    return slash < 0 ? path : path.Mid(slash + 1);
}

CString CSettingsFileMessages::Missing(const CString& path)
{
    CString text;
    text.Format(GetLanguageText(L"MSG_SETTINGS_FILE_MISSING"), FileName(path).GetString());
    return text;
}

CString CSettingsFileMessages::ReadFailure(const CSettingsFileReader& reader, const CString& path)
{
    const CString name = FileName(path);
    CString text;
    switch (reader.GetErrorKind()) {
    case ENSettingsFileError::Missing:
        return Missing(path);
    case ENSettingsFileError::Unreadable:
        text.Format(GetLanguageText(L"MSG_SETTINGS_FILE_UNREADABLE"), name.GetString());
        break;
    case ENSettingsFileError::NotSettings:
        text.Format(GetLanguageText(L"MSG_SETTINGS_FILE_FOREIGN"), name.GetString());
        break;
    case ENSettingsFileError::BadValue:
        text.Format(GetLanguageText(L"MSG_SETTINGS_FILE_BAD_VALUE"), name.GetString(),
                    reader.GetErrorElement().GetString(), reader.GetErrorValue().GetString());
        break;
    case ENSettingsFileError::Damaged:
    case ENSettingsFileError::None:
        if (reader.GetErrorLine() > 0)
            text.Format(GetLanguageText(L"MSG_SETTINGS_FILE_DAMAGED_LINE"), name.GetString(),
                        static_cast<int>(reader.GetErrorLine()));
        else
            text.Format(GetLanguageText(L"MSG_SETTINGS_FILE_DAMAGED"), name.GetString());
        break;
    }
    return text;
}

CString CSettingsFileMessages::FieldLine(const tInvalidValue& value, DWORD portCount)
{
    CString line = GetLanguageText(value.captionKey);
    if (portCount > 1 && value.port < std::size(kPortKeys))
        line += CString(L" ") + GetLanguageText(kPortKeys[value.port]);
    line.AppendFormat(L": %s", value.value.c_str());
    return line;
}

CString CSettingsFileMessages::InvalidValues(const std::vector<tInvalidValue>& values, DWORD portCount,
                                             const CString& path)
{
    if (values.empty())
        return CString();
    CString fields;
    for (const tInvalidValue& value : values)
        fields += L"\n" + FieldLine(value, portCount);
    CString text;
    text.Format(GetLanguageText(L"MSG_SETTINGS_FILE_INVALID_VALUES"), FileName(path).GetString(),
                static_cast<int>(values.size()), fields.GetString());
    return text;
}

}  // namespace Corvane
