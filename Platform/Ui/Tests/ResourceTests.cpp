// Look-ups in the test program's own resource table: languages, string
// blocks, raw resources and the version record.
#include "Platform/Base/LastError.h"
#include "Platform/Base/Module.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Ui/AcceleratorEntries.h"
#include "Platform/Ui/Tests/FakeControls.h"
#include "Platform/Ui/Tests/ResourceTestIds.h"
#include "Platform/Ui/Tests/WindowText.h"
#include "Platform/Ui/WinUser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

using namespace ResourceTest;

namespace {

constexpr LANGID kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr LANGID kGermany = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
constexpr LANGID kSwitzerland = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_SWISS);
constexpr LANGID kJapan = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

// Sets the thread's UI language for one test and puts the default back.
class UiLanguage {
public:
    explicit UiLanguage(LANGID language) { SetThreadUILanguage(language); }
    ~UiLanguage() { SetThreadUILanguage(0); }
};

std::wstring Load(UINT id)
{
    wchar_t buffer[128];
    const int length = LoadStringW(nullptr, id, buffer, 128);
    return std::wstring(buffer, static_cast<std::size_t>(length));
}

// The 16 texts of an RT_STRING block as the resource holds them.
std::vector<std::u16string> BlockTexts(const BYTE* data, DWORD size)
{
    std::vector<std::u16string> texts;
    DWORD at = 0;
    while (texts.size() < 16 && at + 2 <= size) {
        const WORD length = static_cast<WORD>(data[at] | (data[at + 1] << 8));
        at += 2;
        std::u16string text;
        for (WORD i = 0; i < length && at + 2 <= size; ++i, at += 2)
            text.push_back(static_cast<char16_t>(data[at] | (data[at + 1] << 8)));
        texts.push_back(text);
    }
    EXPECT_EQ(at, size);
    return texts;
}

std::vector<BYTE> Bytes(HMODULE module, HRSRC resource)
{
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, resource)));
    return data ? std::vector<BYTE>(data, data + SizeofResource(module, resource)) : std::vector<BYTE>();
}

}  // namespace

TEST(StringResources, FollowTheThreadLanguageAndItsFallBacks)
{
    EXPECT_EQ(Load(kTitle), L"Title"); // en-US until set
    {
        UiLanguage german(kGermany);
        EXPECT_EQ(Load(kTitle), L"Titel");
        EXPECT_EQ(Load(kSaved), L"Gespeichert");
        EXPECT_EQ(Load(kGermanNeutral), L"Neutral Deutsch"); // the primary language's neutral table
        EXPECT_EQ(Load(kNeutral), L"Neutral");
    }
    {
        // No de-CH table: block 2 comes from en-US, block 7 from neutral German.
        UiLanguage swiss(kSwitzerland);
        EXPECT_EQ(Load(kTitle), L"Title");
        EXPECT_EQ(Load(kGermanNeutral), L"Neutral Deutsch");
    }
    {
        UiLanguage japanese(kJapan);
        EXPECT_EQ(Load(kNeutral), L"Neutral");
        EXPECT_EQ(Load(kSaved), L"Saved");
        EXPECT_EQ(Load(kOnlyFrench), L"Bonjour"); // the only language there is
    }
    EXPECT_EQ(GetThreadUILanguage(), kEnglishUs);
}

TEST(StringResources, EachThreadHasItsOwnUiLanguage)
{
    UiLanguage german(kGermany);
    std::wstring seen;
    std::thread worker([&] {
        seen = Load(kTitle);
        SetThreadUILanguage(kJapan);
    });
    worker.join();
    EXPECT_EQ(seen, L"Title"); // a new thread starts at the default
    EXPECT_EQ(Load(kTitle), L"Titel");
    EXPECT_EQ(GetThreadUILanguage(), kGermany);
}

TEST(StringResources, ABlockOfALanguageIsWhole)
{
    UiLanguage german(kGermany);
    // en-US has the string, but the German block 2 is taken and lacks it.
    wchar_t buffer[32] = L"x";
    EXPECT_EQ(LoadStringW(nullptr, kOnlyEnglish, buffer, 32), 0);
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_EQ(Load(kUnused), L"");
    EXPECT_EQ(Load(kNowhere), L"");
    EXPECT_EQ(LoadStringW(nullptr, kEmpty, buffer, 32), 0);
}

TEST(StringResources, BlocksHoldSixteenCountedUtf16Strings)
{
    HRSRC block = FindResourceExW(nullptr, RT_STRING, MAKEINTRESOURCEW(kTitle / 16 + 1), kEnglishUs);
    ASSERT_NE(block, nullptr);
    const std::vector<BYTE> bytes = Bytes(nullptr, block);
    const auto texts = BlockTexts(bytes.data(), static_cast<DWORD>(bytes.size()));
    ASSERT_EQ(texts.size(), 16u);
    EXPECT_EQ(texts[kTitle % 16], u"Title");
    EXPECT_EQ(texts[kOnlyEnglish % 16], u"Only English");
    EXPECT_EQ(texts[kSmile % 16], u"\U0001F600 smile"); // as a surrogate pair
    EXPECT_EQ(texts[kUnused % 16], u"");
    EXPECT_EQ(Load(kSmile), L"\U0001F600 smile");
}

TEST(StringResources, LoadStringCutsToTheBufferAndLendsAPointerForSizeZero)
{
    wchar_t buffer[5];
    EXPECT_EQ(LoadStringW(nullptr, kLong, buffer, 5), 4);
    EXPECT_STREQ(buffer, L"A lo");
    EXPECT_EQ(LoadStringW(nullptr, kLong, buffer, 1), 0);
    EXPECT_EQ(buffer[0], L'\0');

    const wchar_t* text = nullptr;
    const int length = LoadStringW(nullptr, kLong, reinterpret_cast<LPWSTR>(&text), 0);
    ASSERT_EQ(length, 28);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::wstring(text, 28), L"A longer text for truncation");
    const wchar_t* again = nullptr;
    LoadStringW(nullptr, kLong, reinterpret_cast<LPWSTR>(&again), 0);
    EXPECT_EQ(again, text); // read-only text of the module, not a copy

    EXPECT_EQ(LoadStringW(nullptr, kNowhere, reinterpret_cast<LPWSTR>(&text), 0), 0);
    EXPECT_EQ(LoadStringW(nullptr, kTitle, nullptr, 10), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(FindResources, GiveTheLanguageAskedForOrItsNeutralOnly)
{
    const auto block = [](UINT id) { return MAKEINTRESOURCEW(id / 16 + 1); };
    EXPECT_NE(FindResourceExW(nullptr, RT_STRING, block(kTitle), kGermany), nullptr);
    EXPECT_NE(FindResourceExW(nullptr, RT_STRING, block(kGermanNeutral), kSwitzerland), nullptr);
    EXPECT_EQ(FindResourceExW(nullptr, RT_STRING, block(kTitle), MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_LANG_NOT_FOUND);
    // LANG_NEUTRAL searches as FindResource does.
    EXPECT_NE(FindResourceExW(nullptr, RT_STRING, block(kOnlyFrench), LANG_NEUTRAL), nullptr);

    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(kNowhere / 16 + 1), RT_STRING), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(250)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
    EXPECT_EQ(FindResourceW(reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x1234)), MAKEINTRESOURCEW(1),
                            RT_STRING),
              nullptr);
}

TEST(FindResources, HandOutRawResourcesIntact)
{
    HRSRC dialog = FindResourceW(nullptr, MAKEINTRESOURCEW(kDialog), RT_DIALOG);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Bytes(nullptr, dialog), SmallDialogTemplate());
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(kDialog), RT_DIALOG), dialog);

    // Named types and names match without regard to case.
    HRSRC config = FindResourceW(GetModuleHandleW(nullptr), L"defaults", L"CONFIG");
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(Bytes(nullptr, config), (std::vector<BYTE>{1, 2, 3, 4, 5}));
    HRSRC numbered = FindResourceW(nullptr, L"#7", RT_RCDATA);
    ASSERT_NE(numbered, nullptr);
    EXPECT_EQ(SizeofResource(nullptr, numbered), 2u);

    EXPECT_EQ(LockResource(nullptr), nullptr);
    EXPECT_EQ(SizeofResource(nullptr, reinterpret_cast<HRSRC>(static_cast<std::uintptr_t>(0x40))), 0u);
    EXPECT_EQ(LoadResource(nullptr, nullptr), nullptr);
}

TEST(FindResources, ReachTheModuleVersionRecord)
{
    HRSRC version = FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_VERSION);
    ASSERT_NE(version, nullptr);
    const std::vector<BYTE> bytes = Bytes(nullptr, version);
    ASSERT_GT(bytes.size(), 92u);
    const auto word = [&](std::size_t at) { return static_cast<WORD>(bytes[at] | (bytes[at + 1] << 8)); };
    const auto dword = [&](std::size_t at) { return word(at) | (DWORD{word(at + 2)} << 16); };
    EXPECT_EQ(word(0), bytes.size());
    EXPECT_EQ(word(2), 52); // the fixed part
    EXPECT_EQ(Text::Utf16LeToWide(bytes.data() + 6, 30), L"VS_VERSION_INFO");
    EXPECT_EQ(dword(40), 0xFEEF04BDu);
    EXPECT_EQ(dword(48), 0x00010002u); // 1.2
    EXPECT_EQ(dword(52), 0x00030004u); // .3.4
    const std::wstring all = Text::Utf16LeToWide(bytes.data(), bytes.size());
    EXPECT_NE(all.find(std::wstring(L"ProductName\0", 12)), std::wstring::npos);
    EXPECT_NE(all.find(L"Resource tests"), std::wstring::npos);
    EXPECT_NE(all.find(L"040904B0"), std::wstring::npos);

    EXPECT_EQ(FindResourceW(reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x2468)), MAKEINTRESOURCEW(1),
                            RT_VERSION),
              nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_DATA_NOT_FOUND);
}

TEST(AcceleratorResources, ComeBackAsWritten)
{
    HACCEL table = LoadAcceleratorsW(nullptr, MAKEINTRESOURCEW(kAccelerators));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(CopyAcceleratorTableW(table, nullptr, 0), 3);
    ACCEL entries[3];
    ASSERT_EQ(CopyAcceleratorTableW(table, entries, 3), 3);
    EXPECT_EQ(entries[0].fVirt, FVIRTKEY | FCONTROL);
    EXPECT_EQ(entries[0].key, 'O');
    EXPECT_EQ(entries[0].cmd, kOpen);
    EXPECT_EQ(entries[1].key, VK_F1);
    EXPECT_EQ(entries[2].fVirt, 0); // the end mark is not a flag of the entry
    EXPECT_EQ(entries[2].cmd, kWrap);
    ACCEL one[1];
    EXPECT_EQ(CopyAcceleratorTableW(table, one, 1), 1);
    EXPECT_TRUE(DestroyAcceleratorTable(table));
    EXPECT_FALSE(DestroyAcceleratorTable(table));
    EXPECT_EQ(CopyAcceleratorTableW(table, nullptr, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_ACCEL_HANDLE);
}

TEST(AcceleratorResources, TablesMadeFromEntries)
{
    ACCEL keys[] = {{FVIRTKEY | FALT, 'X', 9}, {FVIRTKEY, VK_DELETE, 10}};
    HACCEL table = CreateAcceleratorTableW(keys, 2);
    ASSERT_NE(table, nullptr);
    keys[0].cmd = 99; // the table has its own copy
    ACCEL copy[2];
    ASSERT_EQ(CopyAcceleratorTableW(table, copy, 2), 2);
    EXPECT_EQ(copy[0].cmd, 9);
    EXPECT_EQ(copy[1].key, VK_DELETE);
    std::vector<ACCEL> entries;
    ASSERT_TRUE(Ui::ReadAcceleratorEntries(table, entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].fVirt, FVIRTKEY | FALT);
    EXPECT_EQ(CreateAcceleratorTableW(keys, 0), nullptr);
    EXPECT_EQ(CreateAcceleratorTableW(nullptr, 2), nullptr);
    EXPECT_EQ(LoadAcceleratorsW(nullptr, MAKEINTRESOURCEW(kMenu)), nullptr);
    DestroyAcceleratorTable(table);
}

TEST(FindResources, DialogsComeFromTheModulesTemplate)
{
    UiTest::RegisterFakeControls();
    const auto proc = [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_INITDIALOG; };
    HWND dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(kDialog), nullptr, proc, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(UiTest::TextOf(dialog), L"Sample");
    HWND ok = GetDlgItem(dialog, IDOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(UiTest::TextOf(ok), L"OK");
    DestroyWindow(dialog);

    // A template the module does not have makes no dialog, modal or not.
    SetLastError(0);
    EXPECT_EQ(CreateDialogParamW(nullptr, MAKEINTRESOURCEW(kDialog + 100), nullptr, proc, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(DialogBoxParamW(nullptr, L"NoSuchDialog", nullptr, proc, 0), -1);
}
