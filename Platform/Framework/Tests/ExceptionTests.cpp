#include "Platform/Base/WinError.h"
#include "Platform/Framework/Exceptions/FileException.h"
#include "Platform/Framework/Exceptions/InvalidArgException.h"
#include "Platform/Framework/Exceptions/MemoryException.h"
#include "Platform/Framework/Exceptions/NotSupportedException.h"
#include "Platform/Framework/Exceptions/ResourceException.h"
#include "Platform/Framework/Exceptions/UserException.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {

std::wstring g_strReported;
UINT g_nReportedType = 0;

int RecordReport(LPCWSTR text, UINT type)
{
    g_strReported = text;
    g_nReportedType = type;
    return 6;  // IDYES
}

// Catches what `raise` throws as the framework's pointer and hands back its text.
template<typename Exception, typename Raise>
std::wstring CaughtText(Raise raise)
{
    try {
        raise();
    } catch (Exception* e) {
        const std::wstring text = e->GetErrorText().GetString();
        e->Delete();
        return text;
    }
    return L"<nothing thrown>";
}

}  // namespace

TEST(Exceptions, EachKindIsThrownAsAPointerWithItsText)
{
    EXPECT_EQ(CaughtText<CException>(AfxThrowMemoryException), L"Out of memory.");
    EXPECT_EQ(CaughtText<CResourceException>(AfxThrowResourceException), L"A required resource was unavailable.");
    EXPECT_EQ(CaughtText<CInvalidArgException>(AfxThrowInvalidArgException), L"Encountered an improper argument.");
    EXPECT_EQ(CaughtText<CNotSupportedException>(AfxThrowNotSupportedException),
              L"An unsupported operation was attempted.");
    EXPECT_EQ(CaughtText<CUserException>(AfxThrowUserException), L"No error message is available.");

    wchar_t buffer[8];
    CInvalidArgException invalid(FALSE);
    EXPECT_TRUE(invalid.GetErrorMessage(buffer, 8));
    EXPECT_STREQ(buffer, L"Encount") << "cut to the buffer with its terminator";
    CUserException user(FALSE);
    EXPECT_FALSE(user.GetErrorMessage(buffer, 8));
    EXPECT_STREQ(buffer, L"");
}

TEST(Exceptions, DeleteLeavesExceptionsThatAreNotOnTheHeapAlone)
{
    // The shared out-of-memory object is thrown again and again; Delete must
    // not free it, which AddressSanitizer would report.
    for (int i = 0; i < 3; ++i) {
        try {
            AfxThrowMemoryException();
        } catch (CMemoryException* e) {
            EXPECT_FALSE(e->m_bAutoDelete);
            e->Delete();
        }
    }
    CNotSupportedException onStack(FALSE);
    onStack.Delete();
    EXPECT_TRUE(onStack.IsKindOf(RUNTIME_CLASS(CException)));
}

TEST(Exceptions, ReportErrorGoesThroughTheReplaceableHandler)
{
    const AfxReportErrorHandler previous = AfxSetReportErrorHandler(&RecordReport);
    CFileException error(CFileException::diskFull, static_cast<LONG>(ERROR_DISK_FULL), L"/tmp/out.bin");
    EXPECT_EQ(error.ReportError(0x30), 6) << "the handler's answer comes back";
    EXPECT_EQ(g_strReported, L"Disk full while accessing /tmp/out.bin.");
    EXPECT_EQ(g_nReportedType, 0x30u);
    AfxSetReportErrorHandler(previous);
    EXPECT_EQ(error.ReportError(), 1) << "the default handler writes to the debug output and answers IDOK";
}

TEST(FileException, CausesComeFromSystemCodesAndErrnoValues)
{
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_FILE_NOT_FOUND), CFileException::fileNotFound);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_PATH_NOT_FOUND), CFileException::badPath);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_ACCESS_DENIED), CFileException::accessDenied);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_SHARING_VIOLATION), CFileException::sharingViolation);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_HANDLE_EOF), CFileException::endOfFile);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_SUCCESS), CFileException::none);
    EXPECT_EQ(CFileException::OsErrorToException(123456), CFileException::genericException);
    EXPECT_EQ(CFileException::ErrnoToException(ENOENT), CFileException::fileNotFound);
    EXPECT_EQ(CFileException::ErrnoToException(EACCES), CFileException::accessDenied);
    EXPECT_EQ(CFileException::ErrnoToException(EISDIR), CFileException::accessDenied);
    EXPECT_EQ(CFileException::ErrnoToException(ENOSPC), CFileException::diskFull);
    EXPECT_EQ(CFileException::ErrnoToException(EMFILE), CFileException::tooManyOpenFiles);
    EXPECT_EQ(CFileException::ErrnoToException(ENAMETOOLONG), CFileException::badPath);
    EXPECT_EQ(CFileException::ErrnoToException(EPROTO), CFileException::genericException);

    try {
        CFileException::ThrowErrno(ENOENT, L"/data/Settings.XML");
    } catch (CFileException* e) {
        EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
        EXPECT_EQ(e->m_lOsError, static_cast<LONG>(ERROR_FILE_NOT_FOUND)) << "the system's code, not errno";
        EXPECT_EQ(e->m_strFileName, L"/data/Settings.XML") << "the path keeps its case";
        e->Delete();
    }
}

TEST(FileException, TextsNameTheFileOrSayItHasNoName)
{
    EXPECT_EQ(CFileException(CFileException::fileNotFound, 2, L"/a/b.txt").GetErrorText(), L"/a/b.txt was not found.");
    EXPECT_EQ(CFileException(CFileException::accessDenied).GetErrorText(), L"Access to an unnamed file was denied.");
    EXPECT_EQ(CFileException(CFileException::badSeek, -1, L"x").GetErrorText(), L"Seek failed on x");
    EXPECT_EQ(CFileException(99, -1, L"x").GetErrorText(), L"An unknown error occurred while accessing x.")
        << "an unknown cause reads as the generic one";
    EXPECT_EQ(CFileException(-5).GetErrorText(), L"An unknown error occurred while accessing an unnamed file.");
}
