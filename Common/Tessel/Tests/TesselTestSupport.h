#pragma once
// What the library's tests share: a fixture that gives each test a fresh
// library state (as a new load of the library has) and ends the
// application object afterwards, and a scratch folder for files.
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/Tessel/LibrarySettings.h"
#include "Common/Tessel/TesselApp.h"
#include "Platform/Base/TextConversion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

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

class CScratchFolder {
public:
    CScratchFolder()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path = std::filesystem::temp_directory_path() /
                 ("tessel-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~CScratchFolder() { std::filesystem::remove_all(m_path); }
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    std::wstring Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(m_path / name, std::ios::binary) << bytes;
        return Text::Utf8ToWide((m_path / name).string());
    }

private:
    std::filesystem::path m_path;
};

// A GUI XML file with one text in English and German.
inline std::string GuiXml(const std::string& englishText)
{
    return R"(<?xml version="1.0" encoding="UTF-8"?><gui><languages><language lcid="1031" code="de"/>)"
           R"(<language lcid="1033" code="en"/></languages><texts><text key="LBL_WHO"><locale code="en">)" +
           englishText + R"(</locale><locale code="de">)" + englishText + R"( (de)</locale></text></texts></gui>)";
}

}
