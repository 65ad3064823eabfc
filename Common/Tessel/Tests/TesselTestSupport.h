#pragma once
// What the library's tests share: a fixture that gives each test a fresh
// library state (as a new load of the library has) and ends the
// application object afterwards, and a GUI XML file with one text.
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/Tessel/LibrarySettings.h"
#include "Common/Tessel/TesselApp.h"

#include <gtest/gtest.h>

#include <string>

namespace TesselTest {

class CFreshLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        Tessel::CLibrarySettings::Instance().Reset();
        GetLanguageSupport().Clear();
    }
    void TearDown() override
    {
        if (TesselApp().IsStarted())
            TesselApp().ExitInstance();
        Tessel::CLibrarySettings::Instance().Reset();
        GetLanguageSupport().Clear();
    }
};

// A GUI XML file with one text in English and German.
inline std::string GuiXml(const std::string& englishText)
{
    return R"(<?xml version="1.0" encoding="UTF-8"?><gui><languages><language lcid="1031" code="de"/>)"
           R"(<language lcid="1033" code="en"/></languages><texts><text key="LBL_WHO"><locale code="en">)" +
           englishText + R"(</locale><locale code="de">)" + englishText + R"( (de)</locale></text></texts></gui>)";
}

}
