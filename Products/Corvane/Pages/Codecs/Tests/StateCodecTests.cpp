#include "Products/Corvane/Pages/Codecs/StateCodec.h"

#include "Products/Corvane/Pages/Codecs/Tests/BlockFixture.h"

#include <gtest/gtest.h>

#include <map>

namespace Corvane {

namespace {

class CTexts {
public:
    explicit CTexts(std::map<std::wstring, std::wstring> texts) : m_mapTexts(std::move(texts)) {}
    std::wstring operator()(const std::wstring& key) const
    {
        const auto found = m_mapTexts.find(key);
        return found == m_mapTexts.end() ? L"##" + key : found->second;
    }

private:
    std::map<std::wstring, std::wstring> m_mapTexts;
};

}

TEST(StateCodec, StateWordsShownAndSwitched)
{
    std::vector<WORD> states = {1, 9, 0, 1, 0, 4, 7, 1};
    EXPECT_TRUE(CStateCodec::HasEnoughStates(states));
    EXPECT_TRUE(CStateCodec::IsOn(states, CStateCodec::kFieldbusActive));
    EXPECT_FALSE(CStateCodec::IsOn(states, CStateCodec::kWriteAccess));
    EXPECT_TRUE(CStateCodec::IsOn(states, CStateCodec::kMonitorMode));
    EXPECT_TRUE(CStateCodec::IsOn(states, CStateCodec::kTestMode));
    // Exactly eight words: no terminal-bus extension, even on a coupler.
    EXPECT_FALSE(CStateCodec::ShowsTerminalBusExtension(states, false));
    EXPECT_FALSE(CStateCodec::IsOn(states, CStateCodec::kTerminalBusExtension));
    EXPECT_FALSE(CStateCodec::SetState(states, CStateCodec::kTerminalBusExtension, true));
    EXPECT_EQ(states.size(), 8u);

    states.push_back(0);
    EXPECT_TRUE(CStateCodec::ShowsTerminalBusExtension(states, false));
    EXPECT_FALSE(CStateCodec::ShowsTerminalBusExtension(states, true));
    EXPECT_TRUE(CStateCodec::SetState(states, CStateCodec::kTerminalBusExtension, true));
    EXPECT_EQ(states[8], 1);

    const std::vector<WORD> few = {1, 0, 1};
    EXPECT_FALSE(CStateCodec::HasEnoughStates(few));
    EXPECT_EQ(CStateCodec::InvalidStateCountMessage(3),
              L"Invalid number of FBC states!\n(count: 3, min. count: 8)\n\nPlease update the firmware of your device.");
}

TEST(StateCodec, ConstantSpeedIsOneBitOfWord69)
{
    CGuardedBlock words(70);
    words[69] = 0xFFEF;
    CDeviceBlock block = words.Block();
    EXPECT_EQ(CStateCodec::ReadConstantSpeed(block), false);
    EXPECT_TRUE(CStateCodec::WriteConstantSpeed(block, true));
    EXPECT_EQ(words[69], 0xFFFF);
    CGuardedBlock shortWords(69);
    CDeviceBlock shortBlock = shortWords.Block();
    EXPECT_FALSE(CStateCodec::ReadConstantSpeed(shortBlock));
    EXPECT_FALSE(CStateCodec::WriteConstantSpeed(shortBlock, true));
    EXPECT_TRUE(shortWords.GuardIntact());
}

TEST(StateCodec, ModeSwitchesExcludeEachOther)
{
    EXPECT_FALSE(CStateCodec::CanSwitchControlMode(true, true, false));
    EXPECT_TRUE(CStateCodec::CanSwitchControlMode(false, true, true));
    EXPECT_FALSE(CStateCodec::CanSwitchControlMode(false, false, true));
    EXPECT_TRUE(CStateCodec::CanSwitchControlMode(false, false, false));
    EXPECT_FALSE(CStateCodec::CanSwitchMonitorMode(true));
}

TEST(StateCodec, BlinkCodeTextFromTheMostSpecificKey)
{
    const CTexts all({{L"BC_0881_004_007", L"article\ntext"},
                      {L"BC_32BIT_004_007", L"wide"},
                      {L"BC_16BIT_004_007", L"narrow"},
                      {L"BC_ERROR_004_007", L"error %d"},
                      {L"BC_ERROR_004_00X", L"any %d"},
                      {L"TXT_UNKNOWN_BLINKCODE", L"unknown %d/%d"}});
    EXPECT_EQ(CStateCodec::BlinkCodeText(all, L"0881", true, 4, 7), L"article\r\ntext");
    EXPECT_EQ(CStateCodec::BlinkCodeText(all, L"0999", true, 4, 7), L"wide");
    EXPECT_EQ(CStateCodec::BlinkCodeText(all, L"0999", false, 4, 7), L"narrow");

    const CTexts general({{L"BC_ERROR_004_007", L"error %d"}, {L"BC_ERROR_004_00X", L"any %d"},
                          {L"TXT_UNKNOWN_BLINKCODE", L"unknown %d/%d"}});
    EXPECT_EQ(CStateCodec::BlinkCodeText(general, L"0881", true, 4, 7), L"error 7");
    EXPECT_EQ(CStateCodec::BlinkCodeText(general, L"0881", true, 4, 8), L"any 8");
    EXPECT_EQ(CStateCodec::BlinkCodeText(general, L"0881", true, 5, 8), L"unknown 5/8");
    // A translated format that does not match its arguments renders harmlessly.
    const CTexts broken(std::map<std::wstring, std::wstring>{{L"BC_ERROR_004_00X", L"any %s %s %s"}});
    EXPECT_NO_THROW(CStateCodec::BlinkCodeText(broken, L"0881", true, 4, 8));
}

TEST(StateCodec, LineEndsBecomeCarriageReturnLineFeed)
{
    EXPECT_EQ(CStateCodec::NormalizeLineEnds(L"a\r\nb\nc"), L"a\r\nb\r\nc");
    EXPECT_EQ(CStateCodec::NormalizeLineEnds(L"\n\n"), L"\r\n\r\n");
}

}  // namespace Corvane
