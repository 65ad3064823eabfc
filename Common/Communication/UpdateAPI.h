#pragma once
// The device API of the firmware-update path: every command travels under
// the update command word, whatever the Protocol-ID setting says.

#include "Common/Communication/DeviceAPIBase.h"
#include "Platform/Base/Types.h"

#include <functional>
#include <vector>

namespace ZELL {

class PELORUS_API CUpdateAPI : public CDeviceAPIBase {
public:
    static constexpr unsigned short kUpdateCommand = 0x1279;

    explicit CUpdateAPI(IProtocol* protocol);
    CUpdateAPI(const CUpdateAPI&) = default;
    CUpdateAPI& operator=(const CUpdateAPI&) = default;

    bool Connect();
    bool Disconnect();
    // Not cleared by reading.
    unsigned short GetLastCommandError() const { return m_lastCommandError; }

    bool IdentifyDevice(WORD& a, WORD& b, WORD& c, char** text);
    bool ShutdownPrograms(WORD& value);
    bool RestartMinimalSystem(WORD& value);
    bool UploadRawHexFileToDevice(const BYTE* data, LONG length, ProgressCallback progress, void* context);
    bool UploadHexFileWithCommandToDevice(const BYTE* request, LONG dataLength, ProgressCallback progress,
                                          void* context);
    bool SaveDataToFlash();
    bool GetSaveDataToFlashState(WORD& state, WORD& result);
    bool RestartSystem(WORD& value);
    bool FormatFileSystem(WORD& value);
    bool ExtractFiles(WORD& value);
    bool GetExtractFilesState(WORD& value1, WORD& value2);
    bool RefreshFilesystem(WORD& value);
    bool EraseFlash(WORD& value);
    bool GetCommandState(WORD command, WORD& state);
    bool TransmitRawDataToDevice(WORD command, const BYTE* data, LONG length);

private:
    using Reply = std::vector<BYTE>;
    // The handler reads the reply and gives the result; false, a missing
    // connection, a failed request or an exception set `error`.
    bool Send(unsigned short error, const BYTE* request, std::size_t length, ProgressCallback progress, void* context,
              const std::function<bool(const Reply&)>& handler);
    bool Command(unsigned short error, WORD command, const std::function<bool(const Reply&)>& handler);
    bool CommandWord(unsigned short error, WORD command, WORD& value);

    unsigned short m_lastCommandError = 0;
    DWORD m_reserved = 0;
};

}
