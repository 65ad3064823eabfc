#include "Common/PelorusDLL/PelorusErrorHandler.h"

#include "Common/PelorusDLL/ResourceStrings.h"
#include "Common/PelorusDLL/ServiceBase.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/Module.h"

#include <string>
#include <vector>

namespace {

constexpr UINT kUnknownError = 6099;
constexpr UINT kErrorCodeFormat = 6098;

CString Load(UINT id)
{
    return Pelorus::LoadResourceString(id);
}

const wchar_t* TextOrEmpty(const wchar_t* text)
{
    return text != nullptr ? text : L"";
}

}

const tErrorID CPelorusErrorHandler::m_CommError[] = {
    {0x20010001, 6200, 6101, 6121}, {0x20010002, 6200, 6102, 6122}, {0x20010004, 6200, 6103, 6123},
    {0x20010008, 6200, 6104, 6124}, {0x20010010, 6200, 6105, 6125}, {0x20010100, 6200, 6106, 6126},
    {0x20010200, 6200, 6107, 6127}, {0x20010401, 6200, 6119, 6128}, {0x20010402, 6200, 6108, 6129},
    {kEndOfTable, 0, 0, 0},
};

const tErrorID CPelorusErrorHandler::m_PortError[] = {
    {0x20020002, 6200, 6201, 6221}, {0x20020005, 6200, 6202, 6222}, {0x20020006, 6200, 6203, 6223},
    {0x20020100, 6200, 6204, 6224}, {kEndOfTable, 0, 0, 0},
};

const tErrorID CPelorusErrorHandler::m_KLError[] = {
    {0x20088300, 6400, 6401, 6421}, {0x20088301, 6400, 6402, 6422}, {0x20088302, 6400, 6403, 6423},
    {0x200883FF, 6400, 6404, 6424}, {kEndOfTable, 0, 0, 0},
};

const tErrorID CPelorusErrorHandler::m_BKReadTabError[] = {
    {0x20088409, 6700, 6701, 6702},
    {kEndOfTable, 0, 0, 0},
};

const tErrorID CPelorusErrorHandler::m_BKError[] = {
    {0x20088200, 6360, 6361, 6381}, {0x20088201, 6360, 6362, 6382}, {0x20088202, 6360, 6363, 6383},
    {0x20088203, 6360, 6364, 6384}, {0x20088210, 6360, 6365, 6385}, {0x20088211, 6360, 6366, 6386},
    {0x20088212, 6360, 6367, 6387}, {0x20088213, 6360, 6368, 6388}, {0x20088214, 6360, 6369, 6389},
    {0x20088215, 6360, 6370, 6390}, {0x20088216, 6360, 6371, 6391}, {0x20088217, 6360, 6460, 6461},
    {0x20088218, 6360, 6462, 6463}, {0x20088219, 6360, 6464, 6465}, {0x2008821A, 6360, 6466, 6467},
    {0x2008821B, 6360, 6468, 6469}, {0x2008821C, 6360, 6470, 6471}, {kEndOfTable, 0, 0, 0},
};

const tErrorID CPelorusErrorHandler::m_KBError[] = {
    {0x20048000, 6300, 6301, 6331}, {0x20048001, 6300, 6302, 6332}, {0x20048002, 6300, 6303, 6333},
    {0x20048003, 6300, 6304, 6334}, {0x20048004, 6300, 6305, 6335}, {0x20048005, 6300, 6306, 6336},
    {0x20048006, 6300, 6307, 6337}, {0x20048007, 6300, 6308, 6338}, {0x20048008, 6300, 6309, 6339},
    {0x20048009, 6300, 6310, 6340}, {0x2004800A, 6300, 6311, 6341}, {0x2004800B, 6300, 6312, 6342},
    {0x2004800C, 6300, 6313, 6343}, {0x2004800D, 6300, 6314, 6344}, {0x2004800E, 6300, 6315, 6345},
    {0x2004800F, 6300, 6316, 6346}, {kEndOfTable, 0, 0, 0},
};

const tErrorID CPelorusErrorHandler::m_AppError[] = {
    {0x20208404, 6704, 6705, 6706}, {0x20200002, 6704, 6707, 6708}, {0x20200004, 6704, 6707, 6709},
    {0x20200003, 6704, 6707, 6710}, {0x20200005, 6704, 6711, 6712}, {0x20200006, 6704, 6711, 6713},
    {PELORUS_ERROR_MALFORMED_ANSWER, 6704, 6714, 6715}, {PELORUS_ERROR_ANSWER_TOO_LONG, 6704, 6716, 6717},
    {kEndOfTable, 0, 0, 0},
};

const tKBusErrorRow CPelorusErrorHandler::m_KBusErrList[] = {
    {0x10, 6654, 0}, {0x11, 6650, 0}, {0x12, 6651, 1}, {0x14, 6652, 1}, {0x18, 6653, 0}, {kEndOfKBusList, 0, 0},
};

const tErrorID* CPelorusErrorHandler::TableOfCode(DWORD code)
{
    struct Group {
        DWORD mask;
        const tErrorID* table;
    };
    // The first group that fits wins: the register-table codes share bits
    // with the coupler's codes.
    static const Group groups[] = {
        {0x20010000, m_CommError}, {0x20020000, m_PortError}, {0x20088300, m_KLError},
        {0x20088400, m_BKReadTabError}, {0x20080000, m_BKError}, {0x20040000, m_KBError},
        {0x20200000, m_AppError},
    };
    for (const Group& group : groups)
        if ((code & group.mask) == group.mask)
            return group.table;
    return nullptr;
}

CString CPelorusErrorHandler::ApplicationName()
{
    std::vector<wchar_t> path(4096, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring name(path.data(), length < path.size() ? length : 0);
    const std::size_t slash = name.find_last_of(L'/');
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    const std::size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.erase(dot);
    return CString(name.c_str());
}

void CPelorusErrorHandler::SetUnknown(tErrorMessage* message, const CString& caption)
{
    message->strCaption = caption;
    message->strText = Load(kUnknownError);
    // The code is shown once as hex and once as a (signed) decimal.
    message->strDetails.Format(Load(kErrorCodeFormat).GetString(), message->dwCode,
                               static_cast<int>(message->dwCode));
}

unsigned long CPelorusErrorHandler::Evaluate(tErrorMessage* message, const wchar_t* port, int position, int table,
                                             int registerNumber, const wchar_t* service)
{
    const DWORD code = GetLastError();
    if (message == nullptr)
        return code;
    message->dwCode = code;
    if (code == 0)
        return code;
    const tErrorID* rows = TableOfCode(code);
    if (rows == nullptr) {
        SetUnknown(message, ApplicationName());
        return code;
    }
    if (!GetDetails(rows, message, port, position, table, registerNumber, service))
        SetUnknown(message, Load(rows[0].uCaptionID));
    return code;
}

bool CPelorusErrorHandler::GetDetails(const tErrorID* table, tErrorMessage* message, const wchar_t* port,
                                      int position, int tableNumber, int registerNumber, const wchar_t* service)
{
    const tErrorID* row = table;
    while (row->dwCode != kEndOfTable && row->dwCode != message->dwCode)
        ++row;
    if (row->dwCode == kEndOfTable)
        return false;

    message->strCaption = Load(row->uCaptionID);
    message->strText = Load(row->uTextID);
    const CString details = Load(row->uDetailsID);
    const wchar_t* format = details.GetString();
    const wchar_t* serviceName = TextOrEmpty(service);
    switch (row->uDetailsID) {
    case 6221: case 6222: case 6223: case 6224:
        message->strDetails.Format(format, port != nullptr ? port : L"COM-Port");
        break;
    case 6334: case 6335: case 6337: case 6338: case 6339: case 6340: case 6341:
        message->strDetails.Format(format, position);
        break;
    case 6381: case 6391:
        message->strDetails.Format(format, tableNumber);
        break;
    case 6382: case 6384: case 6390: case 6471:
        message->strDetails.Format(format, tableNumber, registerNumber);
        break;
    case 6383:
        message->strDetails.Format(format, registerNumber, tableNumber);
        break;
    case 6422:
        message->strDetails.Format(format, position, tableNumber);
        break;
    case 6467: case 6469: {
        const CString text = message->strText;
        message->strText.Format(text.GetString(), serviceName);
        message->strDetails.Format(format, serviceName);
        break;
    }
    case 6385: case 6386: case 6387: case 6388: case 6389:
        message->strDetails.Format(format, serviceName);
        break;
    default:
        message->strDetails = details;
        break;
    }
    return true;
}

bool CPelorusErrorHandler::GetKBUSErrorDescr(KBUSERROR* error)
{
    if (error == nullptr || error->sKind != 1)
        return true;
    for (const tKBusErrorRow* row = m_KBusErrList; row->iCode != kEndOfKBusList; ++row) {
        if (row->iCode != error->sErrorCode)
            continue;
        const CString text = Load(static_cast<UINT>(row->iTextID));
        if (row->iWithArgument != 0)
            error->strText.Format(text.GetString(), static_cast<int>(error->wArgument));
        else
            error->strText = text;
        break;
    }
    return true;
}
