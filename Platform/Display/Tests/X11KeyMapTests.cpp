#include "Platform/Display/VirtualKeys.h"
#include "Platform/Display/X11KeyMap.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

using Display::X11::ScanCodeFromKeycode;
using Display::X11::VirtualKeyFromKeysym;

TEST(X11KeyMap, LettersMapToUpperCaseWhateverTheirCase)
{
    for (unsigned long k = XK_a; k <= XK_z; ++k) {
        EXPECT_EQ(VirtualKeyFromKeysym(k).code, 'A' + (k - XK_a));
        EXPECT_EQ(VirtualKeyFromKeysym(k - XK_a + XK_A).code, 'A' + (k - XK_a));
        EXPECT_FALSE(VirtualKeyFromKeysym(k).extended);
    }
    // The neighbours of the letter ranges are no letters.
    EXPECT_NE(VirtualKeyFromKeysym(XK_at).code, static_cast<UINT>('@'));
    EXPECT_EQ(VirtualKeyFromKeysym(XK_braceleft).code, 0u);
}

TEST(X11KeyMap, DigitsAndFunctionKeys)
{
    for (unsigned long k = XK_0; k <= XK_9; ++k)
        EXPECT_EQ(VirtualKeyFromKeysym(k).code, '0' + (k - XK_0));
    EXPECT_EQ(VirtualKeyFromKeysym(XK_F1).code, VK_F1);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_F10).code, VK_F10);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_F12).code, VK_F12);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_F24).code, 0x87u);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_F24 + 1).code, 0u);
}

TEST(X11KeyMap, CursorBlockIsExtendedAndKeypadIsNot)
{
    struct Case {
        unsigned long dedicated;
        unsigned long keypad;
        UINT vk;
    };
    const Case cases[] = {
        {XK_Left, XK_KP_Left, VK_LEFT},    {XK_Right, XK_KP_Right, VK_RIGHT}, {XK_Up, XK_KP_Up, VK_UP},
        {XK_Down, XK_KP_Down, VK_DOWN},    {XK_Home, XK_KP_Home, VK_HOME},    {XK_End, XK_KP_End, VK_END},
        {XK_Prior, XK_KP_Prior, VK_PRIOR}, {XK_Next, XK_KP_Next, VK_NEXT},    {XK_Insert, XK_KP_Insert, VK_INSERT},
        {XK_Delete, XK_KP_Delete, VK_DELETE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VirtualKeyFromKeysym(c.dedicated).code, c.vk) << c.dedicated;
        EXPECT_TRUE(VirtualKeyFromKeysym(c.dedicated).extended) << c.dedicated;
        EXPECT_EQ(VirtualKeyFromKeysym(c.keypad).code, c.vk) << c.keypad;
        EXPECT_FALSE(VirtualKeyFromKeysym(c.keypad).extended) << c.keypad;
    }
}

TEST(X11KeyMap, NumericKeypadWithNumLock)
{
    for (unsigned long k = XK_KP_0; k <= XK_KP_9; ++k)
        EXPECT_EQ(VirtualKeyFromKeysym(k).code, VK_NUMPAD0 + (k - XK_KP_0));
    EXPECT_EQ(VirtualKeyFromKeysym(XK_KP_Multiply).code, VK_MULTIPLY);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_KP_Add).code, VK_ADD);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_KP_Subtract).code, VK_SUBTRACT);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_KP_Decimal).code, VK_DECIMAL);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_KP_Divide).code, VK_DIVIDE);
    EXPECT_TRUE(VirtualKeyFromKeysym(XK_KP_Divide).extended);
    // Keypad Enter is Return, told apart only by the extended bit.
    EXPECT_EQ(VirtualKeyFromKeysym(XK_KP_Enter).code, VK_RETURN);
    EXPECT_TRUE(VirtualKeyFromKeysym(XK_KP_Enter).extended);
    EXPECT_FALSE(VirtualKeyFromKeysym(XK_Return).extended);
}

TEST(X11KeyMap, EditingAndModifierKeys)
{
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Tab).code, VK_TAB);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_ISO_Left_Tab).code, VK_TAB); // Shift+Tab
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Return).code, VK_RETURN);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Escape).code, VK_ESCAPE);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_BackSpace).code, VK_BACK);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_space).code, VK_SPACE);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Shift_L).code, VK_SHIFT);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Shift_R).code, VK_SHIFT);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Control_L).code, VK_CONTROL);
    EXPECT_FALSE(VirtualKeyFromKeysym(XK_Control_L).extended);
    EXPECT_TRUE(VirtualKeyFromKeysym(XK_Control_R).extended);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Alt_L).code, VK_MENU);
    EXPECT_TRUE(VirtualKeyFromKeysym(XK_Alt_R).extended);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_comma).code, VK_OEM_COMMA);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_minus).code, VK_OEM_MINUS);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_period).code, VK_OEM_PERIOD);
}

TEST(X11KeyMap, UnknownSymbolsHaveNoCode)
{
    EXPECT_EQ(VirtualKeyFromKeysym(0).code, 0u);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_VoidSymbol).code, 0u);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_adiaeresis).code, 0u);
    EXPECT_EQ(VirtualKeyFromKeysym(0x1000000 + 0x20AC).code, 0u); // a Unicode symbol (euro sign)
    EXPECT_EQ(VirtualKeyFromKeysym(~0ul).code, 0u);
}

TEST(X11KeyMap, ScanCodes)
{
    // Evdev code + 8: Escape is 1, A is 30, F12 is 88 on Linux servers.
    EXPECT_EQ(ScanCodeFromKeycode(9, VirtualKeyFromKeysym(XK_Escape)), 0x01u);
    EXPECT_EQ(ScanCodeFromKeycode(38, VirtualKeyFromKeysym(XK_a)), 0x1Eu);
    EXPECT_EQ(ScanCodeFromKeycode(96, VirtualKeyFromKeysym(XK_F12)), 0x58u);
    // The dedicated arrows have evdev codes beyond the main block; their set-1 codes are looked up.
    EXPECT_EQ(ScanCodeFromKeycode(111, VirtualKeyFromKeysym(XK_Up)), 0x48u);
    EXPECT_EQ(ScanCodeFromKeycode(104, VirtualKeyFromKeysym(XK_KP_Enter)), 0x1Cu);
    EXPECT_EQ(ScanCodeFromKeycode(0, VirtualKeyFromKeysym(XK_a)), 0u);
    EXPECT_EQ(ScanCodeFromKeycode(255, Display::X11::VirtualKey{}), 0u);
}
