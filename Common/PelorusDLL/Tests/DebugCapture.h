#pragma once
// Sends the debugger output of a test to a file of its own and reads it back
// as the library's wide texts.

#include "Platform/Base/Tests/DebugOutputFile.h"
#include "Platform/Base/TextConversion.h"

#include <string>

class CDebugCapture {
public:
    std::wstring Text() const { return Text::Utf8ToWide(m_output.Read()); }

private:
    TestSupport::CDebugOutputFile m_output;
};
