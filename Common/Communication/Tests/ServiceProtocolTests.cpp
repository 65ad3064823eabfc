#include "Common/Communication/AnswerFault.h"
#include "Common/Communication/ProtocolBase.h"
#include "Common/Communication/ServiceException.h"
#include "Common/Communication/ServiceProtocol.h"
#include "Common/Communication/Tests/ServiceProtocolFakeDevice.h"
#include "Common/SystemHelper/System/RegistryEx.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace ZELL::Testing {
namespace {

constexpr unsigned short kAccepted = 0x0004;

// A device that accepts every fragment and answers the last one with `data`.
CFakeDeviceConnection::Device Acceptor(Bytes data = {0x88, 0x12, 0, 0})
{
    return [data](const Bytes& request) {
        const bool last = Word(request, 4) == Word(request, 6);
        return std::vector<Bytes>{AnswerTo(request, kAccepted, 0, last ? data : Bytes{})};
    };
}

struct Exchange {
    CFakeDeviceConnection connection;
    CServiceProtocol protocol{&connection};
    unsigned char* answer = nullptr;
    unsigned int answerLength = 0;

    explicit Exchange(CFakeDeviceConnection::Device device = Acceptor()) : connection(std::move(device)) {}
    ~Exchange() { delete[] answer; }

    bool Send(const Bytes& data)
    {
        return protocol.Request(const_cast<unsigned char*>(data.data()), static_cast<unsigned int>(data.size()),
                                &answer, answerLength, nullptr, nullptr);
    }
    Bytes Answer() const { return Bytes(answer, answer + answerLength); }
    std::wstring Message() const { return protocol.GetLastErrorMessage(); }
    void Settings(const std::wstring& attributes)
    {
        ASSERT_TRUE(protocol.SetSettingsXML(L"<?xml version='1.0'?><ServiceProtocol " + attributes + L" />"));
    }
};

TEST(ServiceProtocolFraming, EmptyRequestIsOneFragmentWithoutSendingFlag)
{
    Exchange x;
    ASSERT_TRUE(x.Send({}));
    ASSERT_EQ(x.connection.m_writes.size(), 1u);
    const Bytes& frame = x.connection.m_writes[0];
    EXPECT_EQ(frame.size(), 18u);
    EXPECT_EQ(Word(frame, 0), 0x1288);
    EXPECT_EQ(Word(frame, 2), 1);
    EXPECT_EQ(Word(frame, 4), 1);
    EXPECT_EQ(Word(frame, 6), 1);
    EXPECT_EQ(Word(frame, 14), 0);
    EXPECT_EQ(Word(frame, 16), 0);
    EXPECT_EQ(x.Answer(), (Bytes{0x88, 0x12, 0, 0}));
    ASSERT_TRUE(x.Send({1}));
    EXPECT_EQ(Word(x.connection.m_writes[1], 2), 2) << "each request carries the next transaction number";
}

TEST(ServiceProtocolFraming, LongRequestIsSplitAtTheFragmentSize)
{
    Exchange x;
    Bytes data(1400, 0x5A);
    ASSERT_TRUE(x.Send(data));
    ASSERT_EQ(x.connection.m_writes.size(), 1u);
    EXPECT_EQ(Word(x.connection.m_writes[0], 14) & 0x8000, 0);

    data.push_back(0xA5);
    ASSERT_TRUE(x.Send(data));
    ASSERT_EQ(x.connection.m_writes.size(), 3u);
    const Bytes& first = x.connection.m_writes[1];
    const Bytes& second = x.connection.m_writes[2];
    EXPECT_EQ(first.size(), 18u + 1400u);
    EXPECT_EQ(second.size(), 19u);
    EXPECT_EQ(second[18], 0xA5);
    for (const Bytes* frame : {&first, &second}) {
        EXPECT_EQ(Word(*frame, 6), 2);
        EXPECT_NE(Word(*frame, 14) & 0x8000, 0);
        EXPECT_EQ(Word(*frame, 2), 2);
    }
    EXPECT_EQ(Word(second, 4), 2);
}

TEST(ServiceProtocolFraming, ExclusiveIdTravelsInEveryFragment)
{
    Exchange x;
    x.Settings(L"Exclusive-ID='0x11223344'");
    ASSERT_TRUE(x.Send(Bytes(1397, 1)));
    ASSERT_EQ(x.connection.m_writes.size(), 2u) << "1396 data bytes fit beside the Exclusive-ID";
    for (const Bytes& frame : x.connection.m_writes) {
        EXPECT_NE(Word(frame, 14) & 0x1000, 0);
        EXPECT_EQ(frame[18], 0x44);
        EXPECT_EQ(frame[21], 0x11);
    }
    EXPECT_EQ(Word(x.connection.m_writes[0], 16), 1400);
    EXPECT_EQ(Word(x.connection.m_writes[1], 16), 5);
}

TEST(ServiceProtocolFraming, ChecksumIsAppendedAndVerified)
{
    Exchange x([](const Bytes& request) {
        Bytes answer = AnswerTo(Bytes(request.begin(), request.end() - 2), kAccepted, 0, {7, 8});
        AppendChecksum(answer);
        return std::vector<Bytes>{answer};
    });
    x.Settings(L"ChecksumLength='2'");
    ASSERT_TRUE(x.Send({}));
    const Bytes& frame = x.connection.m_writes[0];
    ASSERT_EQ(frame.size(), 20u);
    unsigned int sum = 0;
    for (std::size_t i = 0; i < 18; ++i)
        sum += frame[i];
    EXPECT_EQ(Word(frame, 18), static_cast<unsigned short>(sum));
    EXPECT_EQ(x.Answer(), (Bytes{7, 8}));

    x.connection.m_device = [](const Bytes& request) {
        Bytes answer = AnswerTo(Bytes(request.begin(), request.end() - 2), kAccepted, 0, {7, 8});
        AppendChecksum(answer);
        answer.back() ^= 1;
        return std::vector<Bytes>{answer};
    };
    EXPECT_FALSE(x.Send({}));
    EXPECT_EQ(x.protocol.GetLastCommandError(), 1);
    EXPECT_NE(x.Message().find(L"SERVICE_PROT_5"), std::wstring::npos);
    EXPECT_NE(x.Message().find(L"WRONG_CHECKSUM"), std::wstring::npos);
}

TEST(ServiceProtocolRepetition, BusyAnswerRepeatsTheFragmentUpToMaxRetries)
{
    int busy = 1;
    Exchange x([&busy](const Bytes& request) {
        if (busy-- > 0)
            return std::vector<Bytes>{AnswerTo(request, 0x0003, 10)};
        return std::vector<Bytes>{AnswerTo(request, kAccepted, 0, {1})};
    });
    ASSERT_TRUE(x.Send({9}));
    ASSERT_EQ(x.connection.m_writes.size(), 2u);
    EXPECT_EQ(x.connection.m_writes[0], x.connection.m_writes[1]);

    busy = 2;
    EXPECT_FALSE(x.Send({9}));
    EXPECT_NE(x.Message().find(L"SERVICE_PROT_2!"), std::wstring::npos);
    EXPECT_NE(x.Message().find(L"NUMBER_OF_RETRIES_EXCEEDED"), std::wstring::npos);
}

TEST(ServiceProtocolRepetition, DeviceThatStaysBusyEndsTheTransfer)
{
    Exchange x([](const Bytes& request) { return std::vector<Bytes>{AnswerTo(request, 0x0003, 10)}; });
    x.Settings(L"MaxRetries='5'");
    EXPECT_FALSE(x.Send({1, 2}));
    EXPECT_EQ(x.connection.m_writes.size(), 6u);
}

TEST(ServiceProtocolRepetition, RepetitionWithoutResendFlagIsAFailureNotASuccess)
{
    Exchange x([](const Bytes& request) { return std::vector<Bytes>{AnswerTo(request, 0x0001, 10, {1, 2})}; });
    EXPECT_FALSE(x.Send({1}));
    EXPECT_EQ(x.protocol.GetLastCommandError(), 1);
}

TEST(ServiceProtocolRepetition, ErrorStatusAbortsWithItsStatus)
{
    Exchange x([](const Bytes& request) { return std::vector<Bytes>{AnswerTo(request, 0x0001, 3)}; });
    EXPECT_FALSE(x.Send({1}));
    EXPECT_NE(x.Message().find(L"SERVICE_PROT_GRP_ABORT_3"), std::wstring::npos);
}

// Fragment 5 of 6 is answered once with a request to go on from `from`.
std::vector<unsigned short> SentFragmentsAfterResendFrom(unsigned short from, bool& result)
{
    bool asked = false;
    Exchange x([&](const Bytes& request) {
        if (Word(request, 4) == 5 && !asked) {
            asked = true;
            Bytes data{0, 0, 0, 0, 0, 0};
            PutWord(data, 4, from);
            return std::vector<Bytes>{AnswerTo(request, 0x0002, 0, data)};
        }
        const bool last = Word(request, 4) == Word(request, 6);
        return std::vector<Bytes>{AnswerTo(request, kAccepted, 0, last ? Bytes{1} : Bytes{})};
    });
    x.Settings(L"MaxFragmentDataSize='10'");
    result = x.Send(Bytes(60, 3));
    std::vector<unsigned short> numbers;
    for (const Bytes& frame : x.connection.m_writes)
        numbers.push_back(Word(frame, 4));
    return numbers;
}

TEST(ServiceProtocolRepetition, ResendRequestRestartsFromTheNamedFragment)
{
    bool result = false;
    EXPECT_EQ(SentFragmentsAfterResendFrom(3, result), (std::vector<unsigned short>{1, 2, 3, 4, 5, 3, 4, 5, 6}));
    EXPECT_TRUE(result);
    SentFragmentsAfterResendFrom(6, result);
    EXPECT_FALSE(result) << "a fragment beyond the answered one cannot be resent from";
}

TEST(ServiceProtocolRepetition, DeviceThatKeepsAskingForResendsIsBounded)
{
    Exchange x([](const Bytes& request) {
        if (Word(request, 4) == 2)
            return std::vector<Bytes>{AnswerTo(request, 0x0002, 0, {0, 0, 0, 0, 1, 0})};
        return std::vector<Bytes>{AnswerTo(request, kAccepted, 0)};
    });
    x.Settings(L"MaxFragmentDataSize='10'");
    EXPECT_FALSE(x.Send(Bytes(20, 3)));
    EXPECT_LT(x.connection.m_writes.size(), 100u);
}

TEST(ServiceProtocolChecks, EchoMismatchesNameTheField)
{
    struct Case {
        std::size_t offset;
        const wchar_t* group;
    };
    for (const Case& c : {Case{0, L"WRONG_IDENTIFIER"}, Case{2, L"DIFFERENT_REQUEST_NUMBER"},
                          Case{4, L"DIFFERENT_FRAGMENT_NUMBER"}, Case{6, L"DIFFERENT_TOTAL_FRAGMENT_NUMBER"}}) {
        Exchange x([&c](const Bytes& request) {
            Bytes answer = AnswerTo(request, kAccepted, 0);
            PutWord(answer, c.offset, static_cast<unsigned short>(Word(answer, c.offset) + 1));
            return std::vector<Bytes>{answer};
        });
        EXPECT_FALSE(x.Send({1}));
        EXPECT_NE(x.Message().find(L"SERVICE_PROT_6!"), std::wstring::npos) << c.offset;
        EXPECT_NE(x.Message().find(c.group), std::wstring::npos) << c.offset;
    }
}

TEST(ServiceProtocolChecks, TransactionMismatchNamesBothNumbers)
{
    try {
        throw CServiceException(L"CheckResponse failed!", 6, 10, 5, 4);
    } catch (CServiceException& error) {
        const std::wstring details = error.m_strDetails;
        EXPECT_NE(details.find(L" = 0x0004\n"), std::wstring::npos);
        EXPECT_EQ(details.substr(details.size() - 9), L" = 0x0005");
    }
}

TEST(ServiceProtocolChecks, ShortFrameAndClosedConnectionFailWithoutHanging)
{
    Exchange x([](const Bytes& request) {
        Bytes answer = AnswerTo(request, kAccepted, 0, {1, 2, 3});
        answer.resize(answer.size() - 2);
        return std::vector<Bytes>{answer};
    });
    EXPECT_FALSE(x.Send({1}));
    EXPECT_NE(x.Message().find(L"READING_FAILED"), std::wstring::npos);

    x.connection.m_throwOnWrite = true;
    EXPECT_FALSE(x.Send({1}));
    EXPECT_EQ(x.protocol.GetLastCommandError(), 1);
}

// A first answer announcing `total` continuation fragments; each read-back
// fragment n carries the bytes n, n.
CFakeDeviceConnection::Device LongAnswer(unsigned short total, int resendAt = 0)
{
    auto resent = std::make_shared<bool>(false);
    return [=](const Bytes& request) {
        if ((Word(request, 14) & 0x4000) == 0 && Word(request, 6) == 1 && total != 0xFFFF) {
            Bytes data{0x88, 0x12, 0, 0, 0, 0};
            PutWord(data, 4, total);
            return std::vector<Bytes>{AnswerTo(request, 0x4000 | kAccepted, 0, data)};
        }
        const unsigned short n = Word(request, 4);
        if (resendAt != 0 && n == resendAt && !*resent) {
            *resent = true;
            return std::vector<Bytes>{AnswerTo(request, 0x0002, 0, {0, 0, 0, 0, 1, 0})};
        }
        const auto b = static_cast<unsigned char>(n);
        return std::vector<Bytes>{AnswerTo(request, kAccepted, 0, {b, b})};
    };
}

TEST(ServiceProtocolLongAnswer, ContinuationFragmentsAreFetchedAndJoined)
{
    Exchange x(LongAnswer(3));
    ASSERT_TRUE(x.Send({1, 2}));
    EXPECT_EQ(x.Answer(), (Bytes{1, 1, 2, 2, 3, 3}));
    ASSERT_EQ(x.connection.m_writes.size(), 4u);
    for (unsigned short n = 1; n <= 3; ++n) {
        const Bytes& frame = x.connection.m_writes[n];
        EXPECT_EQ(Word(frame, 4), n);
        EXPECT_EQ(Word(frame, 6), 3);
        EXPECT_NE(Word(frame, 14) & 0x4000, 0);
        EXPECT_EQ(Word(frame, 2), 1);
    }
}

TEST(ServiceProtocolLongAnswer, ZeroTotalIsAProtocolError)
{
    Exchange x(LongAnswer(0));
    EXPECT_FALSE(x.Send({1}));
    EXPECT_NE(x.Message().find(L"SERVICE_PROT_3!"), std::wstring::npos);
}

TEST(ServiceProtocolLongAnswer, RestartRefillsTheRequestAndReplacesData)
{
    Exchange x(LongAnswer(3, 3));
    ASSERT_TRUE(x.Send({1}));
    EXPECT_EQ(x.Answer(), (Bytes{1, 1, 2, 2, 3, 3}));
    std::vector<unsigned short> numbers;
    for (std::size_t i = 1; i < x.connection.m_writes.size(); ++i)
        numbers.push_back(Word(x.connection.m_writes[i], 4));
    EXPECT_EQ(numbers, (std::vector<unsigned short>{1, 2, 3, 1, 2, 3}));
}

// Its length field is refused before its bytes are waited for.
TEST(ServiceProtocolLongAnswer, OversizedFragmentIsRefused)
{
    int frames = 0;
    Exchange x([&frames](const Bytes& request) {
        if (frames++ == 0)
            return std::vector<Bytes>{AnswerTo(request, 0x4000 | kAccepted, 0, {0, 0, 0, 0, 1, 0})};
        return std::vector<Bytes>{AnswerTo(request, kAccepted, 0, Bytes(20, 1))};
    });
    x.Settings(L"MaxFragmentDataSize='10'");
    EXPECT_FALSE(x.Send({1}));
    EXPECT_NE(x.Message().find(L"READING_FAILED"), std::wstring::npos);
    EXPECT_EQ(x.connection.GetLastErrorCode(), kErrorMalformedAnswer);
}

TEST(ServiceProtocolSizes, FragmentSizeWithoutRoomForDataFails)
{
    for (const wchar_t* settings : {L"MaxFragmentDataSize='0'", L"MaxFragmentDataSize='3' Exclusive-ID='7'",
                                    L"MaxFragmentDataSize='4' Exclusive-ID='7'"}) {
        Exchange x;
        x.Settings(settings);
        EXPECT_FALSE(x.Send({1, 2, 3}));
        EXPECT_NE(x.Message().find(L"DATASIZE_NOT_ALLOWED"), std::wstring::npos) << settings;
        EXPECT_TRUE(x.connection.m_writes.empty());
    }
}

TEST(ServiceProtocolProgress, PercentagesRiseOncePerTransfer)
{
    std::vector<unsigned short> seen;
    auto callback = [](unsigned short percent, bool, void* context) {
        static_cast<std::vector<unsigned short>*>(context)->push_back(percent);
    };
    Exchange x;
    x.Settings(L"MaxFragmentDataSize='10'");
    ASSERT_TRUE(x.protocol.Request(Bytes(30, 1).data(), 30, &x.answer, x.answerLength, callback, &seen));
    EXPECT_EQ(seen, (std::vector<unsigned short>{33, 66, 100}));
}

TEST(ServiceProtocolSettings, DefaultsAndRoundTrip)
{
    CFakeDeviceConnection connection;
    CServiceProtocol protocol(&connection);
    EXPECT_EQ(protocol.GetSettingsXML(),
              L"<?xml version='1.0'?><ServiceProtocol Protocol-ID='4744' ChecksumLength='0' MaxRetries='1' "
              L"MaxFragmentDataSize='1400' RoutingInfo='0' Exclusive-ID='0' />");
    EXPECT_EQ(protocol.GetSettingsString(), L"4744; 0; 1; 1400; 0; ");
    EXPECT_TRUE(protocol.SetSettingsXML(L"<ServiceProtocol Protocol-ID='0X1279' MaxRetries='3' />"));
    EXPECT_EQ(protocol.GetSettingsValue(L"Protocol-ID"), L"4729");
    EXPECT_EQ(protocol.GetSettingsValue(L"MaxRetries"), L"3");
    EXPECT_EQ(protocol.GetSettingsValue(L"MaxFragmentDataSize"), L"1400");
    EXPECT_EQ(protocol.GetSettingsValue(L"NoSuchThing"), L"ERROR");
    CServiceProtocol copy(&connection);
    EXPECT_TRUE(copy.SetSettingsXML(protocol.GetSettingsXML()));
    EXPECT_EQ(copy.GetSettingsXML(), protocol.GetSettingsXML());
}

TEST(ServiceProtocolSettings, BadTextsAreRefused)
{
    CFakeDeviceConnection connection;
    CServiceProtocol protocol(&connection);
    const std::wstring before = protocol.GetSettingsXML();
    EXPECT_FALSE(protocol.SetSettingsXML(L"<ServiceProtocol ChecksumLength='1' MaxRetries='9' />"));
    EXPECT_FALSE(protocol.SetSettingsXML(L"<ServiceProtocol ChecksumLength='4' />"));
    EXPECT_EQ(protocol.GetSettingsXML(), before);
    try {
        protocol.SetSettingsXML(L"<ServiceProtocol");
        FAIL() << "no exception";
    } catch (CServiceException& error) {
        EXPECT_EQ(error.m_lCode, 7);
        EXPECT_EQ(error.m_usGroup, 15);
        EXPECT_EQ(error.m_strDetails.substr(error.m_strDetails.size() - 18), L":\n<ServiceProtocol");
    }
    EXPECT_TRUE(protocol.SetSettingsXML(L"<ServiceProtocol MaxRetries='70000' MaxFragmentDataSize='x' />"));
    EXPECT_EQ(protocol.GetSettingsXML(), before) << "numbers that do not fit keep the current value";
}

TEST(ServiceProtocolSettings, FileStorageIsUnsupported)
{
    CFakeDeviceConnection connection;
    CServiceProtocol protocol(&connection);
    EXPECT_FALSE(protocol.LoadSettingsXML(L"a.xml"));
    EXPECT_EQ(protocol.GetLastCommandError(), 9);
    EXPECT_NE(std::wstring(protocol.GetLastErrorMessage()).find(L"LoadSettingsXML(a.xml )"), std::wstring::npos);
    EXPECT_FALSE(protocol.SaveSettingsXML(L"a.xml"));
    EXPECT_EQ(protocol.GetLastCommandError(), 10);
}

TEST(ServiceProtocolSettings, RegistryRoundTripLeavesExclusiveIdOut)
{
    CFakeDeviceConnection connection;
    CServiceProtocol protocol(&connection);
    ASSERT_TRUE(protocol.SetSettingsXML(L"<ServiceProtocol MaxRetries='4' Exclusive-ID='9' RoutingInfo='77' />"));
    const std::wstring key = L"HKEY_CURRENT_USER\\Software\\Zell Software\\ProtocolTest";
    EXPECT_TRUE(protocol.SaveSettingsRegistry(key));
    CServiceProtocol loaded(&connection);
    EXPECT_TRUE(loaded.LoadSettingsRegistry(key));
    EXPECT_EQ(loaded.GetSettingsValue(L"MaxRetries"), L"4");
    EXPECT_EQ(loaded.GetSettingsValue(L"RoutingInfo"), L"77");
    EXPECT_EQ(loaded.GetSettingsValue(L"Exclusive-ID"), L"0");
    EXPECT_TRUE(wutils::CRegistryEx(L"HKEY_CURRENT_USER\\Software\\Zell Software").DeleteKey(L"ProtocolTest"));
}

TEST(ServiceProtocolRaw, ReadsAtMostTheAskedBytes)
{
    CFakeDeviceConnection connection([](const Bytes&) { return std::vector<Bytes>{{1, 2, 3}}; });
    CServiceProtocol protocol(&connection);
    unsigned char* answer = nullptr;
    unsigned int length = 10;
    unsigned char request[] = {0xAA};
    ASSERT_TRUE(protocol.RawRequest(request, 1, &answer, length));
    EXPECT_EQ(Bytes(answer, answer + length), (Bytes{1, 2, 3}));
    connection.m_throwOnWrite = true;
    EXPECT_FALSE(protocol.RawRequest(request, 1, &answer, length));
    EXPECT_EQ(answer, nullptr);
    EXPECT_EQ(protocol.GetLastCommandError(), 11);
    delete[] answer;
}

struct CountingConnection : CFakeDeviceConnection {
    explicit CountingConnection(int& deaths_) : deaths(deaths_) {}
    ~CountingConnection() override { ++deaths; }
    int& deaths;
};

TEST(ProtocolBase, OwnershipDecidesWhoDeletesTheConnection)
{
    int deaths = 0;
    {
        CountingConnection kept(deaths);
        CServiceProtocol protocol(&kept);
        protocol.SetConnection(nullptr);
    }
    EXPECT_EQ(deaths, 1) << "only the stack object itself";
    deaths = 0;
    {
        auto* first = new CountingConnection(deaths);
        CServiceProtocol protocol(first, true);
        protocol.SetConnection(first);
        EXPECT_EQ(deaths, 0) << "setting the held connection again keeps it";
        protocol.SetConnection(new CountingConnection(deaths));
        EXPECT_EQ(deaths, 1);
    }
    EXPECT_EQ(deaths, 2);
}

TEST(ProtocolBase, LastCommandErrorIsReadOnce)
{
    CFakeDeviceConnection connection;
    CServiceProtocol protocol(&connection);
    protocol.LoadSettingsXML(L"x");
    EXPECT_EQ(protocol.GetLastCommandError(), 9);
    EXPECT_EQ(protocol.GetLastCommandError(), 0);
    EXPECT_FALSE(protocol.SetProtocolUUID(L"{x}"));
}

}
}

namespace ZELL::Testing {
namespace {

TEST(ServiceProtocolFraming, MissingDataOrAnswerAddressFailsWithoutSending)
{
    CFakeDeviceConnection connection(Acceptor());
    CServiceProtocol protocol(&connection);
    unsigned char* answer = nullptr;
    unsigned int answerLength = 0;
    EXPECT_FALSE(protocol.Request(nullptr, 5, &answer, answerLength, nullptr, nullptr));
    EXPECT_EQ(protocol.GetLastCommandError(), 1);
    EXPECT_NE(std::wstring(protocol.GetLastErrorMessage()).find(L"no request data"), std::wstring::npos);
    EXPECT_FALSE(protocol.Request(nullptr, 0, nullptr, answerLength, nullptr, nullptr));
    EXPECT_TRUE(connection.m_writes.empty());
}

}
}

namespace ZELL::Testing {
namespace {

TEST(ServiceProtocolChecks, AnswerShorterThanItsExclusiveIdIsRefused)
{
    Exchange x([](const Bytes& request) {
        Bytes answer = AnswerTo(request, kAccepted | 0x1000, 0, {1, 2});
        return std::vector<Bytes>{answer};
    });
    EXPECT_FALSE(x.Send({1}));
    EXPECT_NE(x.Message().find(L"ANSWER_TOO_SHORT"), std::wstring::npos);

    x.connection.m_device = [](const Bytes& request) {
        return std::vector<Bytes>{AnswerTo(request, kAccepted, 0, {5, 6}, true, 0xAABBCCDD)};
    };
    ASSERT_TRUE(x.Send({1}));
    EXPECT_EQ(x.Answer(), (Bytes{5, 6})) << "the Exclusive-ID is not part of the answer data";
}

}
}
