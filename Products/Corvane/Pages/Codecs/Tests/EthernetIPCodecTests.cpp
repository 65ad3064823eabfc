#include "Products/Corvane/Pages/Codecs/EthernetIPCodec.h"

#include "Products/Corvane/Pages/Codecs/Tests/BlockFixture.h"

#include <gtest/gtest.h>

namespace Corvane {

namespace {
CGuardedBlock FullBlock()
{
    CGuardedBlock words(217);
    for (WORD i = 60; i <= 65; ++i)
        words[i] = static_cast<WORD>(i - 50); // 10 .. 15
    words[66] = 0;
    words[67] = 1;
    words[68] = 0x0060 | 0x8001;
    for (WORD i = 213; i <= 216; ++i)
        words[i] = static_cast<WORD>(i - 190); // 23 .. 26
    return words;
}
}

TEST(EthernetIPCodec, LoadsEveryWord)
{
    CGuardedBlock words = FullBlock();
    CEthernetIPCodec codec;
    codec.Load(words.Block());
    EXPECT_EQ(codec.InputAdditional, 10);
    EXPECT_EQ(codec.OutputAdditional, 11);
    EXPECT_EQ(codec.InputBytes111, 12);
    EXPECT_EQ(codec.InputOffset111, 13);
    EXPECT_EQ(codec.OutputBytes110, 14);
    EXPECT_EQ(codec.OutputOffset110, 15);
    EXPECT_EQ(codec.InputBytes113, 23);
    EXPECT_EQ(codec.InputOffset113, 24);
    EXPECT_EQ(codec.OutputBytes112, 25);
    EXPECT_EQ(codec.OutputOffset112, 26);
    EXPECT_EQ(codec.RunIdleO2T, 1);
    EXPECT_EQ(codec.RunIdleT2O, 0);
    EXPECT_TRUE(codec.WordAlignmentAvailable);
    EXPECT_TRUE(codec.WordAlignmentOn);
}

TEST(EthernetIPCodec, StoresEveryWordAndKeepsTheOtherBitsOfWord68)
{
    CGuardedBlock words = FullBlock();
    CDeviceBlock block = words.Block();
    CEthernetIPCodec codec;
    codec.Load(block);
    codec.InputAdditional = 100;
    codec.OutputOffset112 = 7;
    codec.RunIdleO2T = 0;
    codec.RunIdleT2O = 1;
    codec.WordAlignmentOn = false;
    EXPECT_TRUE(codec.Store(block, true));
    EXPECT_EQ(words[60], 100);
    EXPECT_EQ(words[216], 7);
    EXPECT_EQ(words[213], 23);
    EXPECT_EQ(words[66], 1);
    EXPECT_EQ(words[67], 0);
    EXPECT_EQ(words[68], 0x0020 | 0x8001);
}

TEST(EthernetIPCodec, UndeterminedRunIdleIsShownAndLeftUnchanged)
{
    CGuardedBlock words = FullBlock();
    words[66] = 2;
    words[67] = 0xFFFF;
    CDeviceBlock block = words.Block();
    CEthernetIPCodec codec;
    codec.Load(block);
    EXPECT_EQ(codec.RunIdleO2T, -1);
    EXPECT_EQ(codec.RunIdleT2O, -1);
    codec.Store(block, true);
    EXPECT_EQ(words[66], 2);
    EXPECT_EQ(words[67], 0xFFFF);
}

TEST(EthernetIPCodec, BlockOf214WordsGetsWord213Only)
{
    CGuardedBlock words(214);
    words[213] = 40;
    CDeviceBlock block = words.Block();
    CEthernetIPCodec codec;
    codec.Load(block);
    EXPECT_EQ(codec.InputBytes113, 40);
    EXPECT_EQ(codec.InputOffset113, 0);
    codec.InputBytes113 = 41;
    codec.InputOffset113 = 3;
    codec.OutputBytes112 = 5;
    codec.InputBytes111 = 0;
    EXPECT_TRUE(codec.Store(block, true));
    EXPECT_EQ(words[213], 41);
    EXPECT_TRUE(words.GuardIntact());
}

TEST(EthernetIPCodec, BytesAndOffsetOfAnAssemblyBindEachOther)
{
    CEthernetIPCodec codec;
    codec.InputBytes111 = 500;
    codec.InputOffset111 = 12;
    const auto typing = codec.RangeChecks(true);
    EXPECT_EQ(typing[3].ControlId, 1126u);
    EXPECT_EQ(typing[3].Max, 12);
    EXPECT_TRUE(codec.Validate(true));
    codec.InputOffset111 = 13;
    EXPECT_FALSE(codec.Validate(true));
    // Only controllers have the fields.
    EXPECT_TRUE(codec.Validate(false));
    // The input offset's own maximum binds it in validation.
    CCapabilityFileFixture files;
    CEthernetIPCodec limited(files.Write("[ETHERNETIP]\nBkFbInpStartPlcVarCntMax=300\n"));
    limited.InputBytes111 = 200;
    limited.InputOffset111 = 101;
    EXPECT_EQ(limited.RangeChecks(true)[3].Max, 312);
    EXPECT_EQ(limited.RangeChecks(false)[3].Max, 100);
    EXPECT_EQ(CFieldRange::FirstFailure(limited.RangeChecks(false))->ControlId, 1126u);
}

TEST(EthernetIPCodec, FailingCheckStoresOnlyWordAlignment)
{
    CGuardedBlock words = FullBlock();
    CDeviceBlock block = words.Block();
    CEthernetIPCodec codec;
    codec.Load(block);
    codec.InputAdditional = 513;
    codec.RunIdleO2T = 0;
    codec.WordAlignmentOn = false;
    EXPECT_FALSE(codec.Store(block, true));
    EXPECT_EQ(words[60], 10);
    EXPECT_EQ(words[66], 0);
    EXPECT_EQ(words[68] & 0x0040, 0);
}

TEST(EthernetIPCodec, LimitsFromTheFileAtTheirEdges)
{
    CCapabilityFileFixture files;
    CEthernetIPCodec codec(files.Write("[ETHERNETIP]\nBkFbInpVarCntMin=2\nBkFbInpVarCntMax=20\nBkFbInpVarCntDef=3\n"
                                       "BkFbOutPlcOnlyVarCntDef=8\n"));
    EXPECT_EQ(codec.InputAdditional, 3);
    EXPECT_EQ(codec.OutputBytes110, 8);
    EXPECT_EQ(codec.OutputBytes112, 8);
    for (int value : {2, 20}) {
        codec.InputAdditional = value;
        EXPECT_TRUE(codec.Validate(true)) << value;
    }
    for (int value : {1, 21}) {
        codec.InputAdditional = value;
        EXPECT_FALSE(codec.Validate(true)) << value;
    }
}

TEST(EthernetIPCodec, ControlsShownByDeviceKind)
{
    EXPECT_TRUE(CEthernetIPCodec::ShowsWordAlignment(true, true, L"03.01.02(00)"));
    EXPECT_TRUE(CEthernetIPCodec::ShowsWordAlignment(true, true, L"03.01.02(08)"));
    EXPECT_FALSE(CEthernetIPCodec::ShowsWordAlignment(true, true, L"03.01.02(07)"));
    EXPECT_FALSE(CEthernetIPCodec::ShowsWordAlignment(true, false, L"03.01.02(09)"));
    EXPECT_FALSE(CEthernetIPCodec::ShowsWordAlignment(false, true, L"03.01.02(09)"));
    EXPECT_TRUE(CEthernetIPCodec::ShowsExtensionAssemblies(true, 214, true));
    EXPECT_FALSE(CEthernetIPCodec::ShowsExtensionAssemblies(true, 213, true));
    EXPECT_FALSE(CEthernetIPCodec::ShowsExtensionAssemblies(false, 300, true));
    EXPECT_FALSE(CEthernetIPCodec::ShowsExtensionAssemblies(true, 300, false));
}

TEST(EthernetIPCodec, MissingBlock)
{
    CDeviceBlock none;
    CEthernetIPCodec codec;
    codec.Load(none);
    EXPECT_EQ(codec.InputBytes111, 4);
    EXPECT_FALSE(codec.Store(none, true));
}

}  // namespace Corvane
