#include "Platform/Base/LastError.h"
#include "Platform/Base/Module.h"
#include "Platform/Base/Synchronization.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Base/WinError.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

namespace {

const wchar_t kTestModule[] = L"libZellTestModule.so";
using TwicePlusOne = int (*)(int);

std::wstring ExecutablePath()
{
    char buffer[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return length > 0 ? Text::Utf8ToWide(std::string(buffer, static_cast<std::size_t>(length))) : std::wstring();
}

std::wstring ExecutableFolder()
{
    const std::wstring path = ExecutablePath();
    return path.substr(0, path.rfind(L'/'));
}

std::wstring ModulePath(HMODULE module)
{
    std::vector<wchar_t> buffer(4096);
    const DWORD length = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::wstring(buffer.data(), length);
}

TEST(ModuleFileName, NullIsTheExecutable)
{
    EXPECT_EQ(ModulePath(nullptr), ExecutablePath());
    EXPECT_EQ(ModulePath(GetModuleHandleW(nullptr)), ExecutablePath());
    EXPECT_EQ(GetModuleHandleW(nullptr), GetModuleHandleW(nullptr));
}

TEST(ModuleFileName, TruncationRules)
{
    const std::wstring path = ExecutablePath();
    const auto length = static_cast<DWORD>(path.size());
    std::vector<wchar_t> buffer(path.size() + 8, L'#');

    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), length + 1), length); // exactly fits
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(buffer.data()), path);

    std::fill(buffer.begin(), buffer.end(), L'#');
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), length), length); // one short
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(std::wstring(buffer.data()), path.substr(0, length - 1));
    EXPECT_EQ(buffer[length], L'#'); // nothing written past the given size

    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), 1), 1u);
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), 0), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(LoadLibrary, MissingLibraryFails)
{
    for (const wchar_t* name : {L"UxTheme.dll", L"libNoSuchZellLibrary.so", L"/nowhere/libX.so", L""}) {
        SetLastError(0);
        EXPECT_EQ(LoadLibraryW(name), nullptr) << name;
        EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    }
    EXPECT_EQ(GetModuleHandleW(L"libNoSuchZellLibrary.so"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

bool IsLoaded(const std::wstring& path)
{
    void* library = dlopen(Text::WideToUtf8(path).c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (library)
        dlclose(library);
    return library != nullptr;
}

// The test module lies beside the test program as a planted file would: no
// bare or relative name may load it, from any current folder.
TEST(LoadLibrary, BareAndRelativeNamesLoadNothing)
{
    const std::wstring planted = ExecutableFolder() + L"/" + kTestModule;
    char previous[PATH_MAX] = {};
    ASSERT_NE(getcwd(previous, sizeof(previous)), nullptr);
    ASSERT_EQ(chdir(Text::WideToUtf8(ExecutableFolder()).c_str()), 0);
    for (const std::wstring& name : {std::wstring(kTestModule), L"./" + std::wstring(kTestModule),
                                     L"../" + ExecutableFolder().substr(ExecutableFolder().rfind(L'/') + 1) + L"/"
                                         + kTestModule}) {
        SetLastError(0);
        EXPECT_EQ(LoadLibraryW(name.c_str()), nullptr) << name;
        EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
        EXPECT_EQ(LoadLibraryA(Text::WideToUtf8(name).c_str()), nullptr) << name;
    }
    ASSERT_EQ(chdir(previous), 0);
    EXPECT_FALSE(IsLoaded(planted));
}

TEST(LoadLibrary, AbsolutePathLoadsAndFrees)
{
    const std::wstring path = ExecutableFolder() + L"/" + kTestModule;
    HMODULE module = LoadLibraryW(path.c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(ModulePath(module), path);

    const auto function = reinterpret_cast<TwicePlusOne>(GetProcAddress(module, "ZellTestModuleTwicePlusOne"));
    ASSERT_NE(function, nullptr);
    EXPECT_EQ(function(3), 7);

    SetLastError(0);
    EXPECT_EQ(GetProcAddress(module, "NoSuchFunction"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);

    // The module of a function is the library that holds it.
    EXPECT_EQ(Platform::GetModuleOfAddress(reinterpret_cast<const void*>(function)), module);
    EXPECT_EQ(GetModuleHandleW(kTestModule), module);
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_FALSE(FreeLibrary(module));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GetModuleFileNameW(module, nullptr, 0), 0u);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(GetProcAddress(module, "ZellTestModuleTwicePlusOne"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

TEST(LoadLibrary, EachLoadNeedsItsFree)
{
    const std::wstring path = ExecutableFolder() + L"/" + kTestModule;
    HMODULE first = LoadLibraryW(path.c_str());
    HMODULE second = LoadLibraryA(Text::WideToUtf8(path).c_str());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_NE(GetProcAddress(second, "ZellTestModuleTwicePlusOne"), nullptr); // still loaded
    EXPECT_TRUE(FreeLibrary(second));
    EXPECT_EQ(GetProcAddress(second, "ZellTestModuleTwicePlusOne"), nullptr);
}

TEST(LoadLibrary, NameCaseIsKept)
{
    EXPECT_EQ(LoadLibraryW(L"LIBZELLTESTMODULE.SO"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

TEST(LoadLibrary, ForeignHandlesAreNoModules)
{
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HMODULE forged = reinterpret_cast<HMODULE>(event);
    EXPECT_EQ(GetModuleFileNameW(forged, nullptr, 0), 0u);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_FALSE(FreeLibrary(forged));
    EXPECT_EQ(GetProcAddress(forged, "x"), nullptr);
    CloseHandle(event);
}

TEST(LoadLibrary, ModuleOfAnAddressInTheExecutable)
{
    static int marker = 0;
    HMODULE module = Platform::GetModuleOfAddress(&marker);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module, GetModuleHandleW(nullptr));
    EXPECT_EQ(Platform::GetModuleOfAddress(nullptr), nullptr);
}

TEST(LoadLibrary, ModuleOfAnAddressIsTheProgramAfterTheCurrentFolderChanged)
{
    static int marker = 0;
    char previous[PATH_MAX] = {};
    ASSERT_NE(getcwd(previous, sizeof(previous)), nullptr);
    ASSERT_EQ(chdir("/"), 0);
    HMODULE module = Platform::GetModuleOfAddress(&marker);
    wchar_t path[PATH_MAX] = {};
    const DWORD length = GetModuleFileNameW(module, path, PATH_MAX);
    ASSERT_EQ(chdir(previous), 0);
    EXPECT_EQ(module, GetModuleHandleW(nullptr));
    ASSERT_GT(length, 0u);
    EXPECT_EQ(path[0], L'/');
}

}
