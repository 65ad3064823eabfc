#include "Common/PelorusDLL/PelorusErrorHandler.h"
#include "Common/PelorusDLL/ResourceStrings.h"

#include "Platform/Base/LastError.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

constexpr LANGID kGerman = 1031;
constexpr LANGID kEnglish = 1033;
constexpr LANGID kFrench = 1036;

class ErrorHandler : public ::testing::Test {
protected:
    void TearDown() override { Pelorus::SetResourceLanguage(0); }

    tErrorMessage Evaluate(LANGID language, DWORD code, const wchar_t* port = nullptr, int position = 0,
                           int table = 0, int registerNumber = 0, const wchar_t* service = nullptr)
    {
        Pelorus::SetResourceLanguage(language);
        tErrorMessage message;
        SetLastError(code);
        EXPECT_EQ(m_handler.Evaluate(&message, port, position, table, registerNumber, service), code);
        EXPECT_EQ(message.dwCode, code);
        return message;
    }

    static std::wstring Str(const CString& text) { return text.GetString(); }

    CPelorusErrorHandler m_handler;
};

TEST_F(ErrorHandler, CommunicationPortTable)
{
    const tErrorMessage english = Evaluate(kEnglish, 0x20010200);
    EXPECT_EQ(Str(english.strCaption), L"Communication Port Error");
    EXPECT_EQ(Str(english.strText), L"Timeout while connecting to fieldbus coupler !");
    EXPECT_EQ(Str(english.strDetails).rfind(L"The fieldbus coupler (FBC) did not reply within a given time.", 0), 0u);
    const tErrorMessage german = Evaluate(kGerman, 0x20010004);
    EXPECT_EQ(Str(german.strCaption), L"Schnittstellenfehler");
    EXPECT_EQ(Str(german.strText), L"Falsche Parit\u00e4t !");
    EXPECT_EQ(Str(german.strDetails), L"The hardware detected a parity error.");
}

TEST_F(ErrorHandler, PortTableInsertsThePort)
{
    const tErrorMessage named = Evaluate(kEnglish, 0x20020002, L"/dev/ttyS3");
    EXPECT_EQ(Str(named.strText), L"COM-Port not found !");
    EXPECT_EQ(Str(named.strDetails), L"Reason:\t/dev/ttyS3 is not installed into your PC.\r\n\r\nRemedy:\tSelect another port.");
    const tErrorMessage unnamed = Evaluate(kGerman, 0x20020005, nullptr);
    EXPECT_EQ(Str(unnamed.strText), L"Zugriff verweigert !");
    EXPECT_EQ(Str(unnamed.strDetails).rfind(L"Reason:\tCOM-Port is already used by another application.", 0), 0u);
}

TEST_F(ErrorHandler, RegisterCommunicationTableInsertsPositionAndChannel)
{
    const tErrorMessage message = Evaluate(kEnglish, 0x20088301, nullptr, 4, 2);
    EXPECT_EQ(Str(message.strCaption), L"Register Communication Error");
    EXPECT_EQ(Str(message.strDetails).rfind(L"Register communication failed for module at position 4 (channel 2).", 0), 0u);
    const tErrorMessage german = Evaluate(kGerman, 0x20088302);
    EXPECT_EQ(Str(german.strCaption), L"Registerkommunikationsfehler");
    EXPECT_EQ(Str(german.strText), L"Timeout Fehler !");
}

TEST_F(ErrorHandler, NodeConfigurationCodeFindsItsOwnTable)
{
    // It fits the coupler's mask as well; the earlier table wins.
    const tErrorMessage message = Evaluate(kEnglish, 0x20088409);
    EXPECT_EQ(Str(message.strCaption), L"Error");
    EXPECT_EQ(Str(message.strText), L"Invalid node configuration !");
    EXPECT_EQ(Str(Evaluate(kGerman, 0x20088409).strCaption), L"Fehler");
}

TEST_F(ErrorHandler, CouplerTableInsertsServiceTableAndRegister)
{
    const tErrorMessage service = Evaluate(kEnglish, 0x20088212, nullptr, 0, 0, 0, L"GetTableInfo");
    EXPECT_EQ(Str(service.strCaption), L"Fieldbus Coupler Error");
    EXPECT_EQ(Str(service.strText), L"Invalid service request !");
    EXPECT_EQ(Str(service.strDetails), L"Function 'GetTableInfo' is not supported by the connetcted fieldbus coupler.");
    EXPECT_EQ(Str(Evaluate(kEnglish, 0x20088201, nullptr, 0, 7, 12).strDetails), L"Table 7 does not contains register 12.");
    EXPECT_EQ(Str(Evaluate(kEnglish, 0x20088202, nullptr, 0, 7, 12).strDetails),
              L"Write protection must be cleared before changing register 12.");
    EXPECT_EQ(Str(Evaluate(kEnglish, 0x20088216, nullptr, 0, 9).strDetails),
              L"Table 9 does not contain the requested number of register.");
    const tErrorMessage german = Evaluate(kGerman, 0x20088212, nullptr, 0, 0, 0, L"GetTableInfo");
    EXPECT_EQ(Str(german.strCaption), L"Buskopplerfehler");
    EXPECT_EQ(Str(german.strText), L"Dienst nicht unterst\u00fctzt !");
}

TEST_F(ErrorHandler, RejectedServiceNamesTheServiceInTextAndDetails)
{
    const tErrorMessage message = Evaluate(kEnglish, 0x2008821A, nullptr, 0, 0, 0, L"Reset");
    EXPECT_EQ(Str(message.strText), L"Service 'Reset' rejected !");
    EXPECT_EQ(Str(message.strDetails).rfind(L"The service 'Reset' was rejected by the fieldbus coupler.", 0), 0u);
    const tErrorMessage german = Evaluate(kGerman, 0x2008821B, nullptr, 0, 0, 0, L"Reset");
    EXPECT_EQ(Str(german.strText), L"'Reset' nicht ausgef\u00fchrt !");
}

TEST_F(ErrorHandler, NullServiceNameFormatsAsEmpty)
{
    EXPECT_EQ(Str(Evaluate(kEnglish, 0x2008821A).strText), L"Service '' rejected !");
    EXPECT_EQ(Str(Evaluate(kEnglish, 0x20088213).strDetails), L"Invalid arguments for function ''.");
}

TEST_F(ErrorHandler, TerminalBusTableInsertsThePosition)
{
    const tErrorMessage message = Evaluate(kEnglish, 0x20048004, nullptr, 17);
    EXPECT_EQ(Str(message.strCaption), L"Terminal bus Error");
    EXPECT_EQ(Str(message.strText), L"Terminal bus interruption");
    EXPECT_EQ(Str(message.strDetails), L"Terminal bus interruption next to module at position 17.");
    const tErrorMessage german = Evaluate(kGerman, 0x20048005);
    EXPECT_EQ(Str(german.strCaption), L"Klemmenbusfehler");
    EXPECT_EQ(Str(german.strText), L"Datentestfehler !");
    EXPECT_EQ(Str(Evaluate(kEnglish, 0x20048000).strDetails), L"---");
}

TEST_F(ErrorHandler, GermanOnlyRowsShowGermanInEveryLanguage)
{
    for (LANGID language : {kEnglish, kFrench, kGerman}) {
        const tErrorMessage control = Evaluate(language, 0x20200004);
        EXPECT_EQ(Str(control.strCaption), L"Protokollfehler");
        EXPECT_EQ(Str(control.strText), L"Control-Modus nicht eingeschaltet!");
        EXPECT_FALSE(control.strDetails.IsEmpty());
        const tErrorMessage monitor = Evaluate(language, 0x20200006);
        EXPECT_EQ(Str(monitor.strText), L"Monitor-Modus nicht eingeschaltet!");
        EXPECT_FALSE(monitor.strDetails.IsEmpty());
    }
}

TEST_F(ErrorHandler, FrenchCarriesTheEnglishTexts)
{
    const tErrorMessage french = Evaluate(kFrench, 0x20088215, nullptr, 0, 3, 300);
    EXPECT_EQ(Str(french.strText), L"Invalid address range !");
    EXPECT_EQ(Str(french.strDetails), L"Acces out of table range.\r\nTable 3 does not contains register 300.");
}

TEST_F(ErrorHandler, UnknownCodeInAKnownGroupUsesTheTableCaption)
{
    const tErrorMessage message = Evaluate(kEnglish, 0x20200001);
    EXPECT_EQ(Str(message.strCaption), L"Protokollfehler");
    EXPECT_EQ(Str(message.strText), L"Unknown Error !");
    EXPECT_EQ(Str(message.strDetails), L"Errorcode: 0x20200001 (538968065)");
    const tErrorMessage german = Evaluate(kGerman, 0x20010003);
    EXPECT_EQ(Str(german.strCaption), L"Schnittstellenfehler");
    EXPECT_EQ(Str(german.strText), L"Unbekannter Fehler !");
    EXPECT_EQ(Str(german.strDetails), L"Fehlercode: 0x20010003 (536936451)");
}

TEST_F(ErrorHandler, CodeOutsideEveryGroupUsesTheApplicationName)
{
    const tErrorMessage message = Evaluate(kEnglish, 0x12340001);
    EXPECT_EQ(Str(message.strCaption), L"PelorusCoreTests");
    EXPECT_EQ(Str(message.strText), L"Unknown Error !");
    EXPECT_EQ(Str(message.strDetails), L"Errorcode: 0x12340001 (305397761)");
    // The high bit makes the decimal form negative.
    EXPECT_EQ(Str(Evaluate(kEnglish, 0x80000005).strDetails), L"Errorcode: 0x80000005 (-2147483643)");
}

TEST_F(ErrorHandler, NoCodeLeavesTheMessageAlone)
{
    tErrorMessage message;
    message.strCaption = L"kept";
    SetLastError(0);
    EXPECT_EQ(m_handler.Evaluate(&message, nullptr, 0, 0, 0, nullptr), 0u);
    EXPECT_EQ(message.dwCode, 0u);
    EXPECT_EQ(Str(message.strCaption), L"kept");
    EXPECT_TRUE(message.strText.IsEmpty());
}

TEST_F(ErrorHandler, NullMessageOnlyReturnsTheCode)
{
    SetLastError(0x20088212);
    EXPECT_EQ(m_handler.Evaluate(nullptr), 0x20088212u);
}

TEST(ErrorTables, EveryRowHasTextsInEveryLanguage)
{
    const tErrorID* tables[] = {CPelorusErrorHandler::m_CommError, CPelorusErrorHandler::m_PortError,
                                CPelorusErrorHandler::m_KLError, CPelorusErrorHandler::m_BKReadTabError,
                                CPelorusErrorHandler::m_BKError, CPelorusErrorHandler::m_KBError,
                                CPelorusErrorHandler::m_AppError};
    const std::size_t rows[] = {9, 4, 4, 1, 17, 16, 8};
    std::set<DWORD> codes;
    for (std::size_t t = 0; t < std::size(tables); ++t) {
        std::size_t count = 0;
        for (const tErrorID* row = tables[t]; row->dwCode != CPelorusErrorHandler::kEndOfTable; ++row, ++count) {
            EXPECT_TRUE(codes.insert(row->dwCode).second) << std::hex << row->dwCode;
            for (LANGID language : {kEnglish, kGerman, kFrench}) {
                Pelorus::SetResourceLanguage(language);
                for (UINT id : {row->uCaptionID, row->uTextID, row->uDetailsID})
                    EXPECT_FALSE(Pelorus::LoadResourceString(id).IsEmpty()) << id << " in " << language;
            }
        }
        EXPECT_EQ(count, rows[t]);
    }
    Pelorus::SetResourceLanguage(0);
}

TEST(ErrorTables, StringTableIsSortedAndUnique)
{
    std::size_t count = 0;
    const Pelorus::ResourceString* table = Pelorus::ResourceStringTable(count);
    ASSERT_GT(count, 0u);
    for (std::size_t i = 1; i < count; ++i)
        EXPECT_LT(table[i - 1].id, table[i].id) << "at " << table[i].id;
    EXPECT_TRUE(Pelorus::LoadResourceString(1).IsEmpty());
    EXPECT_TRUE(Pelorus::LoadResourceString(99999).IsEmpty());
}

class TerminalBusErrors : public ::testing::Test {
protected:
    void TearDown() override { Pelorus::SetResourceLanguage(0); }
    CPelorusErrorHandler m_handler;
};

TEST_F(TerminalBusErrors, TextWithAndWithoutArgument)
{
    Pelorus::SetResourceLanguage(kEnglish);
    KBUSERROR error;
    error.sKind = 1;
    error.sErrorCode = 0x12;
    error.wArgument = 5;
    EXPECT_TRUE(m_handler.GetKBUSErrorDescr(&error));
    EXPECT_EQ(std::wstring(error.strText.GetString()), L"Error while transmitting input data after module 5 !");
    error.sErrorCode = 0x18;
    EXPECT_TRUE(m_handler.GetKBUSErrorDescr(&error));
    EXPECT_EQ(std::wstring(error.strText.GetString()), L"Terminal bus timeout !");
    Pelorus::SetResourceLanguage(kGerman);
    error.sErrorCode = 0x14;
    EXPECT_TRUE(m_handler.GetKBUSErrorDescr(&error));
    EXPECT_EQ(std::wstring(error.strText.GetString()), L"Fehler beim \u00dcbertragen der Ausgangsdaten nach Klemme 5 !");
}

TEST_F(TerminalBusErrors, OtherKindsAndUnknownCodesKeepTheText)
{
    KBUSERROR error;
    error.sKind = 2;
    error.sErrorCode = 0x10;
    error.strText = L"kept";
    EXPECT_TRUE(m_handler.GetKBUSErrorDescr(&error));
    EXPECT_EQ(std::wstring(error.strText.GetString()), L"kept");
    error.sKind = 1;
    error.sErrorCode = 0x13;
    EXPECT_TRUE(m_handler.GetKBUSErrorDescr(&error));
    EXPECT_EQ(std::wstring(error.strText.GetString()), L"kept");
    EXPECT_TRUE(m_handler.GetKBUSErrorDescr(nullptr));
}

}
