#pragma once
// Where a module lies: its folder (with the closing "/") and its name
// without folder and extension; empty when the module is unknown.

#include "Platform/Base/Types.h"

#include <string>

class CModulePath {
public:
    explicit CModulePath(HMODULE module);
    // The module holding the given code or data address.
    static CModulePath Of(const void* address);

    const std::wstring& Folder() const { return m_folder; }
    std::wstring BaseName() const;

private:
    CModulePath() = default;

    std::wstring m_path;
    std::wstring m_folder;
};
