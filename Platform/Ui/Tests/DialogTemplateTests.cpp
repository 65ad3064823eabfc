// Dialog templates: the extended image written and read back, the classic
// image as code builds it in memory, and images that must be refused.
#include "Platform/Base/LastError.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Ui/DialogManager.h"
#include "Platform/Ui/Tests/FakeControls.h"
#include "Platform/Ui/Tests/UiTestSupport.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <cstring>

using Ui::CDialogTemplate;
using Ui::DialogItemTemplate;
using Ui::NameOrOrdinal;

namespace {

CDialogTemplate Sample()
{
    CDialogTemplate dt;
    dt.style = WS_POPUP | WS_CAPTION | DS_SETFONT | DS_MODALFRAME;
    dt.exStyle = WS_EX_TOOLWINDOW;
    dt.helpId = 77;
    dt.x = -5;
    dt.y = 7;
    dt.cx = 180;
    dt.cy = 90;
    dt.menu = NameOrOrdinal::Ordinal(300);
    dt.windowClass = NameOrOrdinal::Name(L"MyDialogClass");
    dt.caption = L"Ger\u00e4t \u2713";
    dt.pointSize = 8;
    dt.weight = 700;
    dt.italic = 1;
    dt.charSet = 1;
    dt.faceName = L"DejaVu Sans";
    DialogItemTemplate label;
    label.windowClass = NameOrOrdinal::Ordinal(Ui::kClassStatic);
    label.text = NameOrOrdinal::Name(L"&Address:");  // odd length: the next item needs padding
    label.id = 0x12345;
    label.style = WS_CHILD | WS_VISIBLE;
    label.x = 4;
    label.y = 4;
    label.cx = 50;
    label.cy = 8;
    DialogItemTemplate icon = label;
    icon.windowClass = NameOrOrdinal::Name(L"CustomIcon");
    icon.text = NameOrOrdinal::Ordinal(128);
    icon.id = 2;
    icon.exStyle = WS_EX_CLIENTEDGE;
    icon.helpId = 9;
    icon.creationData = {1, 2, 3};
    DialogItemTemplate ok = label;
    ok.windowClass = NameOrOrdinal::Ordinal(Ui::kClassButton);
    ok.text = NameOrOrdinal::Name(L"OK");
    ok.id = IDOK;
    dt.items = {label, icon, ok};
    return dt;
}

bool Parses(const std::vector<BYTE>& image, std::size_t size)
{
    // A copy of exactly `size` bytes, so that a read past it is a fault the sanitizers see.
    std::vector<BYTE> cut(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(size));
    CDialogTemplate dt;
    SetLastError(0);
    const bool ok = dt.Parse(cut.empty() ? reinterpret_cast<const BYTE*>(&dt) : cut.data(), cut.size());
    if (!ok) {
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    return ok;
}

// A classic image as code writes one in memory, field by field.
class ClassicImage {
public:
    void Header(DWORD style, WORD count, short cx, short cy)
    {
        DLGTEMPLATE h;
        h.style = style;
        h.cdit = count;
        h.cx = cx;
        h.cy = cy;
        Raw(&h, sizeof h);
        Word(0);  // no menu
        Word(0);  // the dialog class
        Text(L"Note");
        if ((style & DS_SETFONT) != 0) {
            Word(9);
            Text(L"MS Shell Dlg");
        }
    }
    void Item(DWORD style, WORD id, WORD atom, const std::wstring& text, short x, short y, short cx, short cy,
              WORD extra = 0)
    {
        while (m_bytes.size() % 4 != 0)
            m_bytes.push_back(0);
        DLGITEMTEMPLATE item;
        item.style = style;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = id;
        Raw(&item, sizeof item);
        Word(0xFFFF);
        Word(atom);
        Text(text);
        Word(extra);
    }
    void Word(WORD w) { Raw(&w, sizeof w); }
    std::vector<BYTE>& Bytes() { return m_bytes; }

private:
    void Text(const std::wstring& text)
    {
        for (wchar_t c : text)
            Word(static_cast<WORD>(c));
        Word(0);
    }
    void Raw(const void* p, std::size_t n)
    {
        const auto* b = static_cast<const BYTE*>(p);
        m_bytes.insert(m_bytes.end(), b, b + n);
    }
    std::vector<BYTE> m_bytes;
};

}

TEST(DialogTemplate, TheExtendedImageReadsBackAsWritten)
{
    const CDialogTemplate written = Sample();
    const std::vector<BYTE> image = written.ToImage();
    ASSERT_FALSE(image.empty());
    // The items start on DWORD boundaries: after the odd-length label text there is padding.
    CDialogTemplate read;
    ASSERT_TRUE(read.Parse(image.data(), image.size()));
    EXPECT_EQ(read.style, written.style);
    EXPECT_EQ(read.exStyle, written.exStyle);
    EXPECT_EQ(read.helpId, written.helpId);
    EXPECT_EQ(read.x, written.x);
    EXPECT_EQ(read.cy, written.cy);
    EXPECT_EQ(read.menu, written.menu);
    EXPECT_EQ(read.windowClass, written.windowClass);
    EXPECT_EQ(read.caption, written.caption);
    EXPECT_EQ(read.pointSize, 8);
    EXPECT_EQ(read.weight, 700);
    EXPECT_EQ(read.italic, 1);
    EXPECT_EQ(read.charSet, 1);
    EXPECT_EQ(read.faceName, written.faceName);
    EXPECT_EQ(read.items, written.items);
    EXPECT_EQ(CDialogTemplate::PredefinedClassName(Ui::kClassComboBox), L"ComboBox");
    EXPECT_EQ(CDialogTemplate::PredefinedClassName(0x86), L"");

    // Without DS_SETFONT there are no font fields at all.
    CDialogTemplate plain = written;
    plain.style &= ~DS_SETFONT;
    const std::vector<BYTE> shorter = plain.ToImage();
    CDialogTemplate back;
    ASSERT_TRUE(back.Parse(shorter.data(), shorter.size()));
    EXPECT_TRUE(back.faceName.empty());
    EXPECT_EQ(back.items, written.items);
}

TEST(DialogTemplate, TheClassicImageOfCodeIsRead)
{
    ClassicImage image;
    image.Header(0x90C80880 | DS_SETFONT, 3, 120, 60);
    image.Item(0x50000000, 1001, Ui::kClassStatic, L"Text", 16, 8, 80, 10);
    image.Item(0x50010001, IDOK, Ui::kClassButton, L"OK", 20, 40, 40, 14);
    image.Item(0x50010000, IDCANCEL, Ui::kClassButton, L"Cancel", 64, 40, 40, 14);
    CDialogTemplate dt;
    ASSERT_TRUE(dt.Parse(image.Bytes().data(), image.Bytes().size()));
    EXPECT_EQ(dt.style, 0x90C80880u | DS_SETFONT);
    EXPECT_EQ(dt.caption, L"Note");
    EXPECT_EQ(dt.pointSize, 9);
    EXPECT_EQ(dt.faceName, L"MS Shell Dlg");
    ASSERT_EQ(dt.items.size(), 3u);
    EXPECT_EQ(dt.items[1].id, static_cast<DWORD>(IDOK));
    EXPECT_EQ(dt.items[1].style, 0x50010001u);
    EXPECT_EQ(dt.items[1].windowClass, NameOrOrdinal::Ordinal(Ui::kClassButton));
    EXPECT_EQ(dt.items[2].text, NameOrOrdinal::Name(L"Cancel"));
    EXPECT_EQ(dt.items[2].cx, 40);

    // Such an image makes a dialog with its controls.
    UiTest::RegisterFakeControls();
    HWND dialog = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(image.Bytes().data()), nullptr,
                                             nullptr, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(UiTest::ButtonType(GetDlgItem(dialog, IDOK)), UiTest::kBsDefPushButton);
    EXPECT_EQ(UiTest::TextOf(dialog), L"Note");
    // The shell's dialog face is the message font, at the template's size.
    LOGFONTW font{};
    ASSERT_EQ(GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof font, &font),
              static_cast<int>(sizeof font));
    EXPECT_STREQ(font.lfFaceName, L"DejaVu Sans");
    EXPECT_EQ(font.lfHeight, -12);  // 9 points at 96 dpi
    DestroyWindow(dialog);
    UiTest::Drain();
}

TEST(DialogTemplate, BadImagesAreRefusedWithoutReadingPastThem)
{
    const std::vector<BYTE> image = Sample().ToImage();
    // Every cut short image.
    for (std::size_t size = 0; size < image.size(); ++size)
        EXPECT_FALSE(Parses(image, size)) << size;
    EXPECT_TRUE(Parses(image, image.size()));

    // A count larger than the image could hold.
    std::vector<BYTE> counted = image;
    const WORD many = 0xFFFF;
    std::memcpy(counted.data() + 16, &many, sizeof many);
    EXPECT_FALSE(Parses(counted, counted.size()));

    // Creation data longer than what is left.
    std::vector<BYTE> extra = image;
    const std::size_t lastCount = extra.size() - 2;  // the OK button has none: its count word ends the image
    const WORD tooLong = 100;
    std::memcpy(extra.data() + lastCount, &tooLong, sizeof tooLong);
    EXPECT_FALSE(Parses(extra, extra.size()));

    // A caption that never ends.
    CDialogTemplate bare;
    bare.caption = L"abc";
    std::vector<BYTE> open = bare.ToImage();
    open.resize(open.size() - 2);
    EXPECT_FALSE(Parses(open, open.size()));

    // A classic size word of 1 cannot count itself.
    ClassicImage classic;
    classic.Header(WS_POPUP, 1, 50, 20);
    classic.Item(WS_CHILD, 5, Ui::kClassStatic, L"x", 0, 0, 10, 10, 1);
    EXPECT_FALSE(Parses(classic.Bytes(), classic.Bytes().size()));

    // An image at an odd address is no template.
    std::vector<BYTE> shifted(image.size() + 1);
    std::memcpy(shifted.data() + 1, image.data(), image.size());
    CDialogTemplate dt;
    EXPECT_FALSE(dt.Parse(shifted.data() + 1, image.size()));
    EXPECT_FALSE(dt.Parse(nullptr, 10));
}

TEST(DialogTemplate, ABadImageCreatesNoDialog)
{
    ClassicImage image;
    image.Header(WS_POPUP | WS_VISIBLE, 0xFFFF, 50, 20);
    const std::size_t windowsBefore = [] {
        std::size_t n = 0;
        EnumWindows([](HWND, LPARAM p) { ++*reinterpret_cast<std::size_t*>(p); return TRUE; }, reinterpret_cast<LPARAM>(&n));
        return n;
    }();
    // Through the functions that know the image's size, as a resource's.
    SetLastError(0);
    const std::vector<BYTE>& bytes = image.Bytes();
    EXPECT_EQ(Ui::CreateDialogFromImage(nullptr, bytes.data(), bytes.size(), nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Ui::DialogBoxFromImage(nullptr, bytes.data(), bytes.size(), nullptr, nullptr, 0), -1);
    std::size_t windowsAfter = 0;
    EnumWindows([](HWND, LPARAM p) { ++*reinterpret_cast<std::size_t*>(p); return TRUE; }, reinterpret_cast<LPARAM>(&windowsAfter));
    EXPECT_EQ(windowsAfter, windowsBefore);

    // A control of a class nobody registered fails the dialog, unless DS_NOFAILCREATE.
    CDialogTemplate dt;
    dt.style = WS_POPUP;
    DialogItemTemplate item;
    item.windowClass = NameOrOrdinal::Name(L"NoSuchClass");
    dt.items = {item};
    std::vector<BYTE> missing = dt.ToImage();
    EXPECT_EQ(CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(missing.data()), nullptr, nullptr, 0),
              nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
    dt.style |= DS_NOFAILCREATE;
    missing = dt.ToImage();
    HWND tolerant = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(missing.data()), nullptr, nullptr, 0);
    EXPECT_NE(tolerant, nullptr);
    DestroyWindow(tolerant);
    UiTest::Drain();
}
