#pragma once
// What CFile::GetStatus reports of a file. Times are seconds since
// 1970-01-01 UTC (the platform layer has no time class).

#include "Platform/Base/SystemTime.h"
#include "Platform/Base/Types.h"

struct CFileStatus {
    enum Attribute : BYTE { normal = 0x00, readOnly = 0x01, hidden = 0x02, directory = 0x10 };

    __time64_t m_ctime = 0;  // last status change: POSIX keeps no creation time
    __time64_t m_mtime = 0;
    __time64_t m_atime = 0;
    ULONGLONG m_size = 0;
    BYTE m_attribute = normal;
    WCHAR m_szFullName[MAX_PATH]{};
};
