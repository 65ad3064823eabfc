#include "ControlTestSupport.h"

#include <thread>

TEST(StandardControls, RegistersOnceUnderThePlatformNamesFromAnyThread)
{
    std::vector<std::thread> threads;
    std::vector<int> results(4, 0);
    for (std::size_t i = 0; i < results.size(); ++i)
        threads.emplace_back([&results, i] { results[i] = ZELL::Controls::RegisterStandardControls() ? 1 : 0; });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(results, std::vector<int>(4, 1));
    for (LPCWSTR name : {L"Static", L"Button", L"button", PROGRESS_CLASSW, UPDOWN_CLASSW}) {
        WNDCLASSEXW wc;
        ASSERT_TRUE(GetClassInfoExW(nullptr, name, &wc));
        EXPECT_NE(wc.style & CS_GLOBALCLASS, 0u);
        EXPECT_GE(wc.cbWndExtra, static_cast<int>(sizeof(void*)));
    }
    WNDCLASSEXW button;
    GetClassInfoExW(nullptr, L"Button", &button);
    EXPECT_NE(button.style & CS_DBLCLKS, 0u);
    INITCOMMONCONTROLSEX init;
    init.dwICC = ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS;
    EXPECT_TRUE(InitCommonControlsEx(&init));
    init.dwSize = 3;
    EXPECT_FALSE(InitCommonControlsEx(&init));
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
}

TEST(StandardControls, TemplateAtomsNameTheClasses)
{
    using ZELL::Controls::ClassNameOfTemplateAtom;
    EXPECT_STREQ(ClassNameOfTemplateAtom(0x0080), L"Button");
    EXPECT_STREQ(ClassNameOfTemplateAtom(0x0082), L"Static");
    EXPECT_STREQ(ClassNameOfTemplateAtom(0x0085), L"ComboBox");
    EXPECT_EQ(ClassNameOfTemplateAtom(0x0086), nullptr);
    EXPECT_EQ(ClassNameOfTemplateAtom(0), nullptr);
    // The name an atom gives creates the control.
    ControlTest::Scene s;
    HWND button = s.Add(ClassNameOfTemplateAtom(0x0080), L"b", BS_AUTOCHECKBOX, 0, 0, 50, 16, 1);
    ASSERT_NE(button, nullptr);
    SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), BST_CHECKED);
}
