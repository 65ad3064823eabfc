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
        m_a = Load(ZELL_RESOURCE_LIB_A);
        m_b = Load(ZELL_RESOURCE_LIB_B);
        ASSERT_TRUE(m_a && m_b);
    }
    void TearDown() override
    {
        FreeLibrary(m_a);
        FreeLibrary(m_b);
    }

    HMODULE m_a = nullptr;
    HMODULE m_b = nullptr;
};

}  // namespace

TEST_F(ModuleResources, ALibrarysResourcesAreSeenThroughItsOwnHandleOnly)
{
    EXPECT_EQ(LibraryText(m_a, kLibraryText), L"Library A");
    EXPECT_EQ(LibraryText(m_b, kLibraryText), L"Library B");
    EXPECT_EQ(LibraryText(nullptr, kLibraryText), L""); // the program has no such string

    EXPECT_NE(FindResourceW(m_a, MAKEINTRESOURCEW(kLibraryData), RT_RCDATA), nullptr);
    EXPECT_EQ(FindResourceW(m_b, MAKEINTRESOURCEW(kLibraryData), RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(kLibraryData), RT_RCDATA), nullptr);
    // Nor does a library see the program's.
    EXPECT_EQ(FindResourceW(m_a, MAKEINTRESOURCEW(kDialog), RT_DIALOG), nullptr);
    EXPECT_EQ(LibraryText(m_b, kTitle), L"");
    EXPECT_EQ(Load(ZELL_RESOURCE_LIB_A), m_a); // the same module again
    FreeLibrary(m_a);
}

TEST_F(ModuleResources, ALinkedLibrarysResourcesBelongToEachModuleThatLinksIt)
{
    EXPECT_EQ(LibraryText(m_a, kSharedText), L"Shared");
    EXPECT_EQ(LibraryText(m_b, kSharedText), L"Shared");
    EXPECT_EQ(LibraryText(nullptr, kSharedText), L"");
    HICON inA = LoadIconW(m_a, MAKEINTRESOURCEW(kSharedIcon));
    HICON inB = LoadIconW(m_b, MAKEINTRESOURCEW(kSharedIcon));
    EXPECT_NE(inA, nullptr);
    EXPECT_NE(inB, nullptr);
    EXPECT_NE(inA, inB);
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(kSharedIcon), RT_GROUP_ICON), nullptr);
}

TEST_F(ModuleResources, EachDeliverableKeepsItsOwnResourceModule)
{
    const auto own = reinterpret_cast<ModuleFunction>(GetProcAddress(m_a, "ResourceLibAOwnModule"));
    const auto get = reinterpret_cast<ModuleFunction>(GetProcAddress(m_a, "ResourceLibAGetResourceModule"));
    const auto set = reinterpret_cast<SetModuleFunction>(GetProcAddress(m_a, "ResourceLibASetResourceModule"));
    ASSERT_TRUE(own && get && set);
    EXPECT_EQ(own(), m_a);
    EXPECT_EQ(get(), m_a);
    EXPECT_EQ(Ui::GetResourceModule(), GetModuleHandleW(nullptr));

    // The library turns to B for its texts; the program's stays its own.
    EXPECT_EQ(set(m_b), m_a);
    EXPECT_EQ(get(), m_b);
    EXPECT_EQ(LibraryText(get(), kLibraryText), L"Library B");
    EXPECT_EQ(Ui::GetResourceModule(), GetModuleHandleW(nullptr));
    EXPECT_EQ(set(nullptr), m_b);
    EXPECT_EQ(get(), m_a);

    {
        Ui::CResourceModuleScope scope(m_a);
        EXPECT_EQ(Ui::GetResourceModule(), m_a);
        EXPECT_EQ(LibraryText(Ui::GetResourceModule(), kLibraryText), L"Library A");
        {
            Ui::CResourceModuleScope inner(m_b);
            EXPECT_EQ(Ui::GetResourceModule(), m_b);
        }
        EXPECT_EQ(Ui::GetResourceModule(), m_a);
    }
    EXPECT_EQ(Ui::GetResourceModule(), GetModuleHandleW(nullptr));
    EXPECT_EQ(get(), m_a);
}
