#include "Products/Corvane/Pages/Codecs/OrbisCodec.h"

#include "Products/Corvane/Pages/Codecs/Tests/BlockFixture.h"

#include <gtest/gtest.h>

#include <map>

namespace Corvane {

TEST(OrbisCodec, SwitchesOfWord26AndItsOtherBits)
{
    CGuardedBlock words(27);
    words[26] = 0xFFEE | 0x0010;
    CDeviceBlock block = words.Block();
    COrbisCodec codec;
    codec.Load(block, false);
    EXPECT_FALSE(codec.ResetOutputs);
    EXPECT_TRUE(codec.AlternativeTargetId);
    codec.ResetOutputs = true;
    codec.AlternativeTargetId = false;
    codec.Store(block, false);
    EXPECT_EQ(words[26], 0xFFEF);
}

TEST(OrbisCodec, ControllersLeaveTheWordAlone)
{
    CGuardedBlock words(27);
    words[26] = 0x0011;
    CDeviceBlock block = words.Block();
    COrbisCodec codec;
    codec.Load(block, true);
    EXPECT_FALSE(codec.ResetOutputs);
    codec.Store(block, true);
    EXPECT_EQ(words[26], 0x0011);
}

TEST(OrbisCodec, ExtraBlockOf26WordsOrNoneIsNotTouched)
{
    CGuardedBlock words(26);
    CDeviceBlock block = words.Block();
    COrbisCodec codec;
    codec.ResetOutputs = true;
    codec.Load(block, false);
    EXPECT_TRUE(codec.ResetOutputs);
    codec.Store(block, false);
    EXPECT_TRUE(words.GuardIntact());
    CDeviceBlock none;
    codec.Store(none, false);
}

TEST(OrbisCodec, RuntimeSystemKeysAndTexts)
{
    EXPECT_EQ(COrbisCodec::RuntimeSystemKey(3), L"RUNTIMESYSTEM_03");
    EXPECT_EQ(COrbisCodec::RuntimeSystemKey(123), L"RUNTIMESYSTEM_123");
    EXPECT_EQ(COrbisCodec::RuntimeSystemIdOfKey(L"RUNTIMESYSTEM_123"), 123);
    EXPECT_FALSE(COrbisCodec::RuntimeSystemIdOfKey(L"RUNTIMESYSTEM_"));
    EXPECT_FALSE(COrbisCodec::RuntimeSystemIdOfKey(L"RUNTIMESYSTEM_1x"));
    EXPECT_FALSE(COrbisCodec::RuntimeSystemIdOfKey(L"RUNTIMESYSTEM_99999999999"));
    EXPECT_FALSE(COrbisCodec::RuntimeSystemIdOfKey(L"OTHER_01"));

    const std::map<std::wstring, std::wstring> texts = {{L"RUNTIMESYSTEM_01", L"Runtime A"},
                                                        {L"RUNTIMESYSTEM_03", L"Runtime C"}};
    const auto translate = [&texts](const std::wstring& key) {
        const auto found = texts.find(key);
        return found == texts.end() ? L"##" + key : found->second;
    };
    const std::vector<WORD> ids = {1, 2, 3};
    EXPECT_EQ(COrbisCodec::RuntimeSystemTexts(ids, translate), (std::vector<std::wstring>{L"Runtime A", L"Runtime C"}));
    EXPECT_EQ(COrbisCodec::RuntimeSystemOfText(ids, L"Runtime C", translate), 3);
    EXPECT_EQ(COrbisCodec::RuntimeSystemOfText(ids, L"Runtime Z", translate), COrbisCodec::kNoRuntimeSystem);
}

TEST(OrbisCodec, ReselectingTheActiveRuntimeSystemDoesNotMarkTheData)
{
    CFBCData data;
    data.ActiveRuntimeSystem = 2;
    EXPECT_FALSE(COrbisCodec::ChooseRuntimeSystem(data, 2));
    EXPECT_FALSE(data.ActiveRuntimeSystemToWrite);
    EXPECT_TRUE(COrbisCodec::ChooseRuntimeSystem(data, 3));
    EXPECT_TRUE(data.ActiveRuntimeSystemToWrite);
    EXPECT_EQ(data.ActiveRuntimeSystem, 3);
}

TEST(OrbisCodec, AlternativeTargetIdOfOneArticle)
{
    EXPECT_TRUE(COrbisCodec::OffersAlternativeTargetId(L"0614-0392"));
    EXPECT_FALSE(COrbisCodec::OffersAlternativeTargetId(L"0614-0393"));
    EXPECT_FALSE(COrbisCodec::OffersAlternativeTargetId(L""));
}

}  // namespace Corvane
