#pragma once
// The profile of the program that shows our dialogs. Inside the program's
// own code the application object knows it; inside the library, which has
// no application object of its own, it is the company key under the
// program's name, where the program's application object keeps it.

#include <string>

class CHostProfile {
public:
    static constexpr const wchar_t* kCompanyKey = L"Zell Software";

    std::wstring GetString(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue) const;
    int GetInt(const wchar_t* section, const wchar_t* entry, int defaultValue) const;
    bool WriteString(const wchar_t* section, const wchar_t* entry, const std::wstring& value) const;
};
