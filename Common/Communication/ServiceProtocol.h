#pragma once
// The service protocol: carries a request of any length to the device as
// numbered fragments, checks every answer fragment against its request,
// repeats fragments on the device's demand and fetches long answers.

#include "Common/Communication/ProtocolBase.h"
#include "Platform/Base/Types.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ZELL {

class PELORUS_API CServiceProtocol : public CProtocolBase {
public:
    static constexpr unsigned int kHeaderSize = 18;
    static constexpr unsigned short kDefaultProtocolId = 0x1288;

    // Header flags.
    static constexpr unsigned short kFlagError = 0x0001;
    static constexpr unsigned short kFlagResend = 0x0002;
    static constexpr unsigned short kFlagAccepted = 0x0004;
    static constexpr unsigned short kFlagExclusive = 0x1000;
    static constexpr unsigned short kFlagRouting = 0x2000;
    static constexpr unsigned short kFlagReadBack = 0x4000;
    static constexpr unsigned short kFlagSending = 0x8000;
    static constexpr unsigned short kStatusRepeat = 10;

    explicit CServiceProtocol(IConnection* connection);
    CServiceProtocol(IConnection* connection, bool ownsConnection);

    bool Request(unsigned char* data, unsigned int length, unsigned char** answer, unsigned int& answerLength,
                 ProgressCallback progress, void* context) override;
    bool Request(unsigned short command, unsigned char* data, unsigned int length, unsigned char** answer,
                 unsigned int& answerLength, ProgressCallback progress, void* context) override;
    // Writes the bytes as they are and reads back at most `answerLength`
    // bytes, without any framing.
    bool RawRequest(unsigned char* data, unsigned int length, unsigned char** answer, unsigned int& answerLength);

    std::wstring GetDriverInfo() const override;
    std::wstring GetSettingsXML() const override;
    // Rejects a text that is no XML (throws) and one whose ChecksumLength is
    // neither 0 nor 2 (false, nothing taken over).
    bool SetSettingsXML(std::wstring xml) override;
    std::wstring GetSettingsString() const override;
    std::wstring GetSettingsValue(const wchar_t* name) override;
    bool LoadSettingsRegistry(std::wstring name) override;
    bool SaveSettingsRegistry(std::wstring name) override;
    bool LoadSettingsXML(std::wstring name) override;
    bool SaveSettingsXML(std::wstring name) override;

    unsigned short GetTransactionNumber() const { return m_transactionCounter; }
    unsigned long TakeAnswerFault() override;

private:
    using Frame = std::vector<unsigned char>;

    struct Fragment {
        std::unique_ptr<unsigned char[]> bytes;
        unsigned int length = 0; // without checksum
    };

    void Construct();
    void PrepareReqHeader(unsigned short command);
    unsigned short CalculateNumberOfFragments(unsigned int length) const;
    unsigned int CalculateCurrentFragDataLen() const;
    void CalculateFragLen(unsigned int length, unsigned short fragment, unsigned int& frameLength,
                          unsigned int& dataLength) const;
    void FillFragment(Frame& frame, unsigned short fragment, unsigned short count, const unsigned char* data,
                      unsigned int dataLength, bool readBack) const;
    void WriteFragment(Frame& frame, unsigned int frameLength);
    Fragment ReadFragment();
    bool CheckResponse(const Frame& request, const Fragment& answer, unsigned short& resendFrom) const;
    static unsigned short RetrieveNextFragmentNumber(const Fragment& answer);
    bool WriteFragmented(unsigned char* data, unsigned int length, unsigned char** answer, unsigned int& answerLength,
                         ProgressCallback progress, void* context);
    void ReadFragmented(unsigned short total, unsigned char** answer, unsigned int& answerLength,
                        ProgressCallback progress, void* context);
    void SendProgress(const unsigned char* fragment, ProgressCallback progress, void* context);
    void ResetProgress() { m_lastProgress = 0; }
    Frame NewFrame() const;
    void RecomputeFrameCapacity();
    static unsigned int GetExclusiveIDSize() { return 4; }
    unsigned int GetExclusiveModeOffset() const { return m_exclusiveId != 0 ? 4u : 0u; }
    static unsigned int GetRoutingOffset() { return 0; }
    bool HandleException(const wchar_t* function, unsigned short code);
    void CheckAnswerTotal(unsigned short total) const;
    void DropUnreadAnswer();

    std::array<unsigned char, kHeaderSize> m_headerTemplate{};
    unsigned short m_transactionCounter = 0;
    std::uint32_t m_exclusiveId = 0;
    unsigned short m_protocolId = kDefaultProtocolId;
    unsigned short m_checksumLength = 0;
    unsigned short m_maxRetries = 0;
    unsigned short m_maxFragmentDataSize = 0;
    std::uint32_t m_routingInfo = 0;
    std::uint32_t m_frameCapacity = 0;
    unsigned short m_lastProgress = 0;
    unsigned long m_answerFault = 0;
};

}
