// The blocks that drag data and the clipboard hand out: copies, release,
// the checks of what is asked for, and handles that are no blocks.
#include "Platform/Base/LastError.h"
#include "Platform/Shell/ClipboardDataObject.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <string>
#include <thread>

namespace {

HGLOBAL Block(const std::string& bytes)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!bytes.empty())
        std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

std::string BytesOf(HGLOBAL block)
{
    const char* bytes = static_cast<const char*>(GlobalLock(block));
    std::string copy = bytes != nullptr ? std::string(bytes, GlobalSize(block)) : std::string();
    GlobalUnlock(block);
    return copy;
}

}

TEST(DragData, BlocksAreCopiedWholeAndHandlesThatAreNoBlocksAreRefused)
{
    HGLOBAL original = Block(std::string("no\0terminator", 13));
    HGLOBAL copy = CopyGlobalBlock(original);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, original);
    EXPECT_EQ(BytesOf(copy), std::string("no\0terminator", 13)) << "every byte, with no end added";
    GlobalFree(copy);

    HGLOBAL empty = Block("");
    copy = CopyGlobalBlock(empty);
    ASSERT_NE(copy, nullptr) << "an empty block copies to an empty one";
    EXPECT_EQ(GlobalSize(copy), 0u);
    GlobalFree(copy);
    GlobalFree(empty);

    GlobalFree(original);
    EXPECT_EQ(CopyGlobalBlock(original), nullptr) << "freed";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    int local = 0;
    EXPECT_EQ(CopyGlobalBlock(reinterpret_cast<HGLOBAL>(&local)), nullptr) << "an address";
    HWND window = UiTest::Create(nullptr, WS_POPUP, 0, 0, 1, 1);
    EXPECT_EQ(CopyGlobalBlock(reinterpret_cast<HGLOBAL>(window)), nullptr) << "a handle of another kind";
    DestroyWindow(window);
    EXPECT_EQ(CopyGlobalBlock(nullptr), nullptr);
}

TEST(DragData, MediaAreReleasedOnceAndFormatsChecked)
{
    STGMEDIUM medium{TYMED_HGLOBAL, Block("abc"), nullptr};
    HGLOBAL block = medium.hGlobal;
    ReleaseStgMedium(&medium);
    EXPECT_EQ(medium.hGlobal, nullptr);
    EXPECT_EQ(medium.tymed, TYMED_NULL);
    EXPECT_EQ(GlobalSize(block), 0u) << "freed";
    ReleaseStgMedium(&medium);  // nothing left to free
    ReleaseStgMedium(nullptr);

    FORMATETC format;
    EXPECT_EQ(CheckGlobalFormat(&format), S_OK);
    format.tymed = 0x2;
    EXPECT_EQ(CheckGlobalFormat(&format), DV_E_TYMED);
    format.tymed = TYMED_HGLOBAL | 0x2;
    format.dwAspect = 4;
    EXPECT_EQ(CheckGlobalFormat(&format), DV_E_DVASPECT);
    EXPECT_EQ(CheckGlobalFormat(nullptr), E_INVALIDARG);
}

TEST(DragData, TheClipboardIsReadAsCopiesAndNotWhileAnotherHasItOpen)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, Block(std::string("clip", 5)));
    CloseClipboard();

    CClipboardDataObject clipboard;
    FORMATETC text;
    text.cfFormat = CF_TEXT;
    EXPECT_EQ(clipboard.QueryGetData(&text), S_OK);
    STGMEDIUM medium;
    ASSERT_EQ(clipboard.GetData(&text, &medium), S_OK);
    EXPECT_STREQ(BytesOf(medium.hGlobal).c_str(), "clip");
    ReleaseStgMedium(&medium);
    ASSERT_EQ(clipboard.GetData(&text, &medium), S_OK) << "the clipboard kept its own block";
    ReleaseStgMedium(&medium);
    FORMATETC picture;
    picture.cfFormat = CF_DIB;
    EXPECT_EQ(clipboard.GetData(&picture, &medium), DV_E_FORMATETC);
    EXPECT_EQ(clipboard.GetData(&text, nullptr), E_INVALIDARG);

    std::promise<void> opened;
    std::promise<void> done;
    std::thread holder([&] {
        OpenClipboard(nullptr);
        opened.set_value();
        done.get_future().wait();
        CloseClipboard();
    });
    opened.get_future().wait();
    EXPECT_EQ(clipboard.GetData(&text, &medium), CLIPBRD_E_CANT_OPEN);
    done.set_value();
    holder.join();
}
