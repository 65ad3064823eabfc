#include "Products/Corvane/MainDialog/Commands/CommandQuestions.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"

namespace Corvane {

namespace {

CString FormatTcpQuestion(LPCWSTR key, const CString& article, const CString& address)
{
    CString text;
    text.Format(GetLanguageText(key), article.GetString(), address.GetString());
    return text;
}

}

tCommandQuestion CCommandQuestions::FactoryDefaults(bool controller, bool tcpConnection, const CString& article,
                                                    const CString& address)
{
    tCommandQuestion question;
    question.text = GetLanguageText(controller ? L"MSG_RESET_TO_FACTORY_DEFAULT_ORBIS200"
                                               : L"MSG_RESET_TO_FACTORY_DEFAULT");
    question.type = controller ? kYesNoWarning : kYesNo;
    if (tcpConnection) {
        question.caption = GetLanguageText(L"TXT_WARNING_UPPER");
        question.text = FormatTcpQuestion(L"MSG_RESET_TO_FACTORY_DEFAULT_TCPIP", article, address);
        question.type |= 0x50;
    }
    return question;
}

CString CCommandQuestions::WorkerRunsForSettings()
{
    CString text;
    text.Format(L"%s\n%s", GetLanguageText(L"MSG_ACTIVE_THREAD").GetString(),
                GetLanguageText(L"MSG_CANT_CHANGE_SETTINGS").GetString());
    return text;
}

}  // namespace Corvane
