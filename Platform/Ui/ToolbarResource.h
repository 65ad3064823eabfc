#pragma once
// A toolbar resource (RT_TOOLBAR) read back: the size of one button image,
// the buttons' commands (0 for a separator) and the strip of images in the
// bitmap of the same name. Menus that show command images load it; no
// toolbar window is needed for that.
#include "Platform/Ui/WinUser.h"

#include <string>
#include <vector>

namespace Ui {

class CToolbarResource {
public:
    // False, with ERROR_RESOURCE_TYPE_NOT_FOUND or ERROR_INVALID_DATA, when
    // the module has no such toolbar or its record is cut short or of
    // another version.
    bool Load(HINSTANCE module, LPCWSTR name);
    // The same from the bytes of a record.
    bool Parse(const BYTE* data, std::size_t size);

    int ImageWidth() const { return m_width; }
    int ImageHeight() const { return m_height; }
    // Every button in order, separators as 0.
    const std::vector<UINT>& Buttons() const { return m_buttons; }
    // The image of a command within the strip: buttons other than
    // separators take the images in order. -1 for a command not there.
    int ImageOf(UINT command) const;
    int ImageCount() const;
    // The strip of images; the caller deletes it. Null when the module has no bitmap of that name.
    HBITMAP LoadStrip() const;

private:
    HINSTANCE m_module = nullptr;
    WORD m_nameId = 0;         // a numbered resource
    std::wstring m_nameText;   // or a named one
    bool m_loaded = false;
    int m_width = 0;
    int m_height = 0;
    std::vector<UINT> m_buttons;
};

}
