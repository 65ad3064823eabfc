// Each module sees its own resources only, and each keeps its own current
// resource module.
#include "Platform/Base/LastError.h"
#include "Platform/Base/Module.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Ui/ResourceModule.h"
#include "Platform/Ui/Tests/ResourceTestIds.h"
#include "Platform/Ui/WinUser.h"

#include <gtest/gtest.h>

#include <string>

using namespace ResourceTest;

namespace {

using ModuleFunction = HINSTANCE (*)();
using SetModuleFunction = HINSTANCE (*)(HINSTANCE);

HMODULE Load(const char* path)
{
    HMODULE module = LoadLibraryW(Text::Utf8ToWide(path).c_str());
    EXPECT_NE(module, nullptr) << path;
    return module;
}

std::wstring LibraryText(HINSTANCE module, UINT id)
{
    wchar_t buffer[64];
    const int length = LoadStringW(module, id, buffer, 64);
    return std::wstring(buffer, static_cast<std::size_t>(length));
}

class ModuleResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        a = Load(ZELL_RESOURCE_LIB_A);
        b = Load(ZELL_RESOURCE_LIB_B);
        ASSERT_TRUE(a && b);
    }
    void TearDown() override
    {
        FreeLibrary(a);
        FreeLibrary(b);
    }

    HMODULE a = nullptr;
    HMODULE b = nullptr;
};

}  // namespace

TEST_F(ModuleResources, ALibrarysResourcesAreSeenThroughItsOwnHandleOnly)
{
    EXPECT_EQ(LibraryText(a, kLibraryText), L"Library A");
    EXPECT_EQ(LibraryText(b, kLibraryText), L"Library B");
    EXPECT_EQ(LibraryText(nullptr, kLibraryText), L""); // the program has no such string

    EXPECT_NE(FindResourceW(a, MAKEINTRESOURCEW(kLibraryData), RT_RCDATA), nullptr);
    EXPECT_EQ(FindResourceW(b, MAKEINTRESOURCEW(kLibraryData), RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(kLibraryData), RT_RCDATA), nullptr);
    // Nor does a library see the program's.
    EXPECT_EQ(FindResourceW(a, MAKEINTRESOURCEW(kDialog), RT_DIALOG), nullptr);
    EXPECT_EQ(LibraryText(b, kTitle), L"");
    EXPECT_EQ(Load(ZELL_RESOURCE_LIB_A), a); // the same module again
    FreeLibrary(a);
}

TEST_F(ModuleResources, ALinkedLibrarysResourcesBelongToEachModuleThatLinksIt)
{
    EXPECT_EQ(LibraryText(a, kSharedText), L"Shared");
    EXPECT_EQ(LibraryText(b, kSharedText), L"Shared");
    EXPECT_EQ(LibraryText(nullptr, kSharedText), L"");
    HICON inA = LoadIconW(a, MAKEINTRESOURCEW(kSharedIcon));
    HICON inB = LoadIconW(b, MAKEINTRESOURCEW(kSharedIcon));
    EXPECT_NE(inA, nullptr);
    EXPECT_NE(inB, nullptr);
    EXPECT_NE(inA, inB);
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(kSharedIcon), RT_GROUP_ICON), nullptr);
}

TEST_F(ModuleResources, EachDeliverableKeepsItsOwnResourceModule)
{
    const auto own = reinterpret_cast<ModuleFunction>(GetProcAddress(a, "ResourceLibAOwnModule"));
    const auto get = reinterpret_cast<ModuleFunction>(GetProcAddress(a, "ResourceLibAGetResourceModule"));
    const auto set = reinterpret_cast<SetModuleFunction>(GetProcAddress(a, "ResourceLibASetResourceModule"));
    ASSERT_TRUE(own && get && set);
    EXPECT_EQ(own(), a);
    EXPECT_EQ(get(), a);
    EXPECT_EQ(Ui::GetResourceModule(), GetModuleHandleW(nullptr));

    // The library turns to B for its texts; the program's stays its own.
    EXPECT_EQ(set(b), a);
    EXPECT_EQ(get(), b);
    EXPECT_EQ(LibraryText(get(), kLibraryText), L"Library B");
    EXPECT_EQ(Ui::GetResourceModule(), GetModuleHandleW(nullptr));
    EXPECT_EQ(set(nullptr), b);
    EXPECT_EQ(get(), a);

    {
        Ui::CResourceModuleScope scope(a);
        EXPECT_EQ(Ui::GetResourceModule(), a);
        EXPECT_EQ(LibraryText(Ui::GetResourceModule(), kLibraryText), L"Library A");
        {
            Ui::CResourceModuleScope inner(b);
            EXPECT_EQ(Ui::GetResourceModule(), b);
        }
        EXPECT_EQ(Ui::GetResourceModule(), a);
    }
    EXPECT_EQ(Ui::GetResourceModule(), GetModuleHandleW(nullptr));
    EXPECT_EQ(get(), a);
}
