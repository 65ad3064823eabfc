#pragma once
// One resource of a module as FindResource hands it out: its bytes in the
// platform's format, kept for as long as the module's resources are.
#include "Platform/Ui/ResourceKey.h"

#include <string>
#include <vector>

namespace Ui {

struct CompiledResource {
    CResourceKey type;
    CResourceKey name;
    LANGID language = 0;
    std::vector<BYTE> storage;       // the bytes, unless they are the table's own
    const BYTE* data = nullptr;
    std::size_t size = 0;
    // RT_STRING: the block's 16 texts as wide text, for LoadString's
    // read-only pointers.
    std::vector<std::wstring> texts;
    HANDLE handle = nullptr;         // the HRSRC/HGLOBAL number

    void Own(std::vector<BYTE> bytes)
    {
        storage = std::move(bytes);
        data = storage.data();
        size = storage.size();
    }
};

}
