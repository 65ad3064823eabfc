#pragma once
// The network-parameters page's model: the rows of its grid built from the
// actual and static parameter records of one port of the data set, the edits
// of the static column stored back into the records, the check of every
// port's static values before a write, whether a write moves the device off
// the address the program talks to, the interface mode, and the small texts
// the grid shows.

#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Pages/Codecs/DeviceBlock.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Corvane {

class CNetworkParamCodec {
public:
    using tNetworkParams = CFBCData::tNetworkParams;
    // Whether an address text may be configured (the invalid-address list).
    using AddressFilter = std::function<bool(const std::wstring& address)>;
    // The language text of an address-source code.
    using SourceTextOf = std::function<std::wstring(WORD code)>;

    enum ERow {
        SourceRow = 1,
        AddressRow,
        MaskRow,
        GatewayRow,
        FirstDnsRow,
        SecondDnsRow,
        SntpRow,
        HostNameRow,
        DomainNameRow,
        DipRow
    };
    static constexpr std::size_t kMaxNameLength = 31;
    static constexpr std::size_t kMaxClipboardText = 256;
    // The address sources the device knows: a server, or the static address.
    static constexpr WORD kBootPSourceCode = 1;
    static constexpr WORD kDhcpSourceCode = 2;
    // After this source code the static address must not be on the invalid list.
    static constexpr WORD kFixedSourceCode = 3;
    static constexpr WORD kAutoIPSourceCode = 4;
    static constexpr WORD kNormalKind = 0;
    static constexpr WORD kErrorKind = 1;

    struct CRow {
        int Row = 0;
        const wchar_t* CaptionKey = L"";
        std::wstring Actual;
        std::wstring Static;
        WORD Kind = kNormalKind;
        // Either value is the device's "not supported": the row is read-only.
        bool NotSupported = false;
        // A value all ports share, shown on a port after the first: it is
        // edited on the first port only.
        bool Shared = false;
        // The configured address is none a device takes (from a file).
        bool Refused = false;
    };

    // A static value that cannot be written: its port and its grid row.
    struct CField {
        DWORD Port = 0;
        int Row = 0;
    };

    enum class EBalloon { None, InvalidAddress, MaxLength };
    struct CEditResult {
        bool Stored = false;
        EBalloon Balloon = EBalloon::None;
        // The row whose cell the balloon points at and whose editor reopens.
        int BalloonRow = 0;
        std::wstring CellText;
    };

    enum class EPaste { Allowed, Refused, TooMuchText, NoAddress };

    // The selected port, or port 0 when it is beyond the port count.
    static DWORD EffectivePort(const CFBCData& data, DWORD selectedPort);
    // Row 7 shows port 0's SNTP server name instead of the port's address.
    static bool ShowsSntpName(const CFBCData& data);
    // Empty without network parameters or for a port beyond the count.
    static std::vector<CRow> BuildRows(const CFBCData& data, DWORD port, bool hasDip, const SourceTextOf& sourceText);

    // A new address source from row 1; source 3 re-checks the static address.
    static CEditResult ApplySource(CFBCData& data, DWORD port, WORD code, const AddressFilter& isAllowed);
    // A new text in the static column of rows 2 to 10.
    static CEditResult ApplyText(CFBCData& data, DWORD port, int row, const std::wstring& text,
                                 const AddressFilter& isAllowed);
    // Whether the static value of a row may go to the device: a known
    // source, address texts (a subnet mask with its ones contiguous from the
    // left; with source 3 an address not on the invalid list), names of at
    // most 31 characters. A value the device does not support is not written
    // and passes.
    static bool IsWritable(const tNetworkParams& fixed, int row, const AddressFilter& isAllowed);
    static bool IsValidSubnetMask(const std::wstring& text);
    // Normalises every port's valid static address; the first static value
    // of any port that cannot be written, none when all pass.
    static std::optional<CField> FirstUnwritableField(CFBCData& data, const AddressFilter& isAllowed);
    // Whether writing the static records moves the device off the address
    // the program is connected at (or changes how that port gets its
    // address). A connection at none of the ports' addresses cannot tell
    // which port it uses: then any port's move counts.
    static bool ChangesConnectionAddress(const CFBCData& data, const std::wstring& connectionAddress);
    // Rows whose value the device keeps once for all ports.
    static bool IsCommonRow(int row);
    static const wchar_t* CaptionKey(int row);
    // 0 switched, 1 separated; true, and marked for writing, when it changed.
    static bool SetInterfaceMode(CFBCData& data, WORD mode);

    static std::wstring WebManagementUrl(const CDeviceBlock& block, const std::wstring& address);
    // The switch address of row 10, marked when it asks for DHCP.
    // The switch base address with the switch value as its last part; the
    // value alone when the base is not an address.
    static std::wstring SwitchAddress(const std::wstring& base, WORD switchValue);
    static std::wstring WithDhcpMark(const std::wstring& switchAddress);
    static EPaste CheckPaste(int row, const std::wstring& clipboardText);

private:
    static std::wstring tNetworkParams::*FieldOfRow(int row);
    static bool IsAddressRow(int row);
    static bool IsKnownSource(WORD code);
    static bool MovesAddress(const tNetworkParams& actual, const tNetworkParams& fixed);
    static void MirrorCommonFields(CFBCData& data, DWORD port);
};

}  // namespace Corvane
