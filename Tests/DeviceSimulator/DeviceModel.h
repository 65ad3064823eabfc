#pragma once

// What the simulated device knows and answers with. A test fills a
// tDeviceData, hands it to the model, and reads it back after the host has
// talked to the device (written registers, clock, counters). The model is the
// only state shared between the session threads; every access goes through
// its mutex.

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace DevSim {

// Network parameter ids of the network-parameter services.
enum ENNetParam : uint16_t {
    NET_ADDRESS_SOURCE = 0,
    NET_IP_ADDRESS = 1,
    NET_SUBNET_MASK = 2,
    NET_GATEWAY = 3,
    NET_DNS1 = 4,
    NET_DNS2 = 5,
    NET_PARAM6 = 6,
    NET_HOST_NAME = 7,
    NET_DOMAIN_NAME = 8,
    NET_PARAM9 = 9,
    NET_MAC_ADDRESS = 10,
    NET_SNTP_NAME = 11,
    NET_PARAM_COUNT = 12
};

// Parameter sets of the network-parameter services.
enum ENNetKind : uint16_t { NET_ACTUAL = 0, NET_STATIC = 1 };

// Status words the device answers with.
enum ENDeviceStatus : uint16_t {
    STATUS_OK = 0,
    STATUS_REPEAT = 10,               // with flags 0x0003: send the fragment again
    STATUS_INVALID_TABLE = 0x8200,
    STATUS_WRITE_DISABLED = 0x8202,
    STATUS_ARGUMENT_COUNT = 0x8210,
    STATUS_NOT_SUPPORTED = 0x8212,
    STATUS_INVALID_ARGUMENT = 0x8213,
    STATUS_REJECTED = 0x8214,
    STATUS_ADDRESS_RANGE = 0x8215,
    STATUS_TABLE_PROTECTED = 0x821C,
    STATUS_BUSY = 0x821D
};

struct tRegisterTable {
    std::vector<uint16_t> words;
    bool writeProtected = false;
};

struct tMonitorEntry {
    uint32_t eventTime = 0;
    int16_t errorCode = 0;
    uint8_t argument = 0;
    uint8_t flags = 0;
    uint32_t referenceTime = 0;
};

struct tSDCard {
    bool inserted = false;
    uint16_t type = 0;
    bool writeProtected = false;
    uint16_t capacity = 0;
    uint16_t freeMemory = 0;
    uint32_t serialNumber = 0;
};

struct tDeviceData {
    // --- protocol behaviour ---
    uint16_t protocolId = 0x1288;          // command word of the service API
    uint16_t checksumLength = 0;           // 0 or 2, both directions
    uint16_t protocolBufferSize = 1400;    // largest length field accepted and sent
    uint16_t maxProtocolBufferSize = 1400; // upper limit for SetProtocolBufferSize
    uint32_t frameTimeoutMs = 2000;        // rest of a started frame must arrive within this

    // --- identification API (command 1) ---
    std::string orderNumber = "0612-0001";
    std::string userDescription = "Simulated coupler";
    std::string mediaAddress = "025AE1000001";
    std::string serialNumber = "SN000001";
    uint16_t vendorId = 0x0021;
    uint16_t identDeviceState = 0;
    std::string connectionType = "TCP";
    std::string supportedProtocols = "SERVICE";
    std::string identCollection = "ORDER=0612-0001";
    uint16_t serverTimeout = 15;           // reported only
    uint16_t identVersion = 0x0100;
    std::string activeConnections = "";
    std::array<uint8_t, 9> revisions{1, 0, 0, 1, 2, 3, 0, 0, 1};
    std::array<uint16_t, 4> connectionInformation{}; // last SetConnectionInformation
    // Exclusive mode: an ident of 0 means off.
    uint32_t exclusiveIdent = 0;
    uint8_t exclusiveState = 0;
    uint8_t permanentMode = 0;
    uint8_t exclusiveMode = 0;
    uint32_t nextExclusiveIdent = 0x1A2B3C4D;
    uint32_t exclusiveOwnerSession = 0; // session that opened exclusive mode

    // --- service API (command protocolId) ---
    // Identification text items, sent as "KEY=value;KEY=value".
    std::vector<std::pair<std::string, std::string>> identItems{
        {"ORDER", "0612-0001"},   {"DESCR", "Simulated coupler"}, {"HW-VER", "01"},
        {"SW-VER", "01.02.03"},   {"FWL-VER", "IDX=3"},
        {"SN", "SN000001"},       {"BAUD", "100 Mbit/s"},         {"QS-STRING", "QS0001"},
        {"FW-BURN-DATE", "2026-01-01"}, {"PSN", "PSN0001"},       {"IMEI", "--"}};
    std::optional<std::string> identTextOverride; // sent as it stands when set
    std::array<uint16_t, 3> identWords{};          // the three words before the text
    std::string networkId = "MAC-ID=025AE1000001";
    std::string internalVariables = "IP=192.168.1.10;NAME=coupler;HOST=coupler;ACTIP=192.168.1.10";
    std::vector<uint16_t> stateWords = std::vector<uint16_t>(9, 0);
    std::array<uint16_t, 9> terminalBusState{};
    uint16_t addressSwitch = 0;
    bool writeAccess = false;
    bool writeAccessRequired = false; // register writes need EnableWriteAccess first
    uint16_t restartSeconds = 0;
    uint16_t factoryResetSeconds = 0;
    uint16_t storeSeconds = 0;
    uint16_t terminalBusRestartSeconds = 0;
    uint16_t factoryTestMode = 0;
    uint16_t terminalBusExtension = 0;
    // Seconds since 1970 UTC when the clock was last set. A running clock
    // (a real device's) answers them advanced by the time since then; a
    // stopped one (a test's) answers them as they stand.
    uint32_t clockSeconds = 0;
    bool clockRunning = false;
    std::chrono::steady_clock::time_point clockSetAt{};
    int16_t zoneMinutes = 0;
    int16_t daylightSaving = 0;
    std::array<uint16_t, 3> paramSequence{};
    std::array<uint16_t, 3> terminalControl{};
    std::vector<uint8_t> terminalControlData;
    std::array<uint16_t, 3> terminalControlStatus{};
    std::map<uint16_t, uint16_t> commandStates;  // GetCommandState: command -> state (0 when absent)
    std::vector<tMonitorEntry> monitor;
    size_t monitorReadPos = 0;
    uint16_t fileSystemSeconds = 0;
    std::array<uint16_t, 2> extractFilesState{};
    uint16_t lastFileGroup = 0;
    tSDCard sdCard;
    uint16_t plcRootLocation = 0;
    uint16_t plcRootSeconds = 0;
    std::map<std::pair<uint16_t, uint16_t>, tRegisterTable> registers; // (position, table)
    // Network parameters by (port, kind, id), raw service bytes.
    std::map<std::tuple<uint16_t, uint16_t, uint16_t>, std::vector<uint8_t>> network;
    uint16_t ethernetMode = 0;
    std::vector<uint16_t> runtimeSystems{1};
    uint16_t activeRuntime = 1;
    std::set<uint16_t> unsupportedServices; // service API codes answered "not supported"

    // --- update API (command 0x1279) ---
    std::vector<uint8_t> uploadedImage;
    uint16_t flashState = 0;
    uint16_t flashResult = 0;

    // --- what the host did (read back by tests) ---
    unsigned restartCount = 0;
    unsigned factoryResetCount = 0;
    unsigned storeCount = 0;
    unsigned terminalBusRestartCount = 0;
    unsigned formatCount = 0;
    unsigned extractCount = 0;
    unsigned refreshCount = 0;
    unsigned flashSaveCount = 0;
    unsigned eraseFlashCount = 0;
    unsigned shutdownCount = 0;

    // Helpers that store values in the byte form of the network services.
    // An address "a.b.c.d" is kept as the bytes d, c, b, a; a MAC text of
    // twelve hex digits likewise last byte first. They return false on a
    // malformed text and change nothing then.
    bool SetNetAddress(uint16_t port, uint16_t kind, uint16_t id, const std::string& dotted);
    bool SetNetMac(uint16_t port, uint16_t kind, const std::string& hex12);
    void SetNetName(uint16_t port, uint16_t kind, uint16_t id, const std::string& text);
    void SetNetSource(uint16_t port, uint16_t kind, uint16_t source);
    // A typical port: source, addresses, names and MAC in both sets.
    void AddDefaultPort(uint16_t port, const std::string& ip);
    std::optional<std::vector<uint8_t>> NetParam(uint16_t port, uint16_t kind, uint16_t id) const;

    // The clock as the device answers it, and setting it.
    uint32_t ClockNow() const;
    void SetClock(uint32_t seconds);

    std::string IdentificationText() const;
    // The monitor entry at the read position, which moves on; past the last
    // entry the device hands out empty entries (code 0xFFFF).
    tMonitorEntry NextMonitorEntry();

    // --- serial mailbox only ---
    uint16_t parameterChecksum = 0x1234;
    std::array<uint16_t, 2> fieldbusBaudrate{12, 6}; // baud = word 0 x 10 ^ word 1
    std::array<std::string, 2> productionMarking{"PM-0001", "PM-0002"};
    // Internal variables by index, each "name;value".
    std::map<uint16_t, std::string> serialInternalVariables{{1, "IP address;192.168.1.10"},
                                                             {4, "ACTIP;192.168.1.10"}};
    int16_t serviceStateThirdWord = 0;
    // Answers sent as they stand, by group << 8 | service: the mailbox words
    // from word 1 (the count) on. Lets a test hand the host malformed answers.
    std::map<uint16_t, std::vector<uint16_t>> serialRawAnswers;

    // --- service API answers a test shapes ---
    // Records (table, register count) of GetTableInfo, sent in this order
    // instead of those of the register map.
    std::optional<std::vector<std::pair<uint16_t, uint16_t>>> tableInfoOverride;

    // --- answers of both transports a test shapes ---
    // Service codes (group << 8 | service) answered with this status and no
    // data, on TCP and in the serial mailbox alike; for statuses other than
    // the 0x8212 of unsupportedServices. Not for the register services,
    // whose status sits behind their echo.
    std::map<uint16_t, uint16_t> refusedServices;
};

class CDeviceModel {
public:
    CDeviceModel() = default;
    CDeviceModel(const CDeviceModel&) = delete;
    CDeviceModel& operator=(const CDeviceModel&) = delete;

    void Set(const tDeviceData& data);
    tDeviceData Get() const;
    // Runs `change` under the lock; for read-modify-write from tests and handlers.
    void Update(const std::function<void(tDeviceData&)>& change);
    // Runs `look` under the lock without copying the data.
    void Read(const std::function<void(const tDeviceData&)>& look) const;

    // Exclusive mode belongs to the session that opened it; a session that
    // ends gives up a non-permanent exclusive mode.
    void ReleaseSession(uint32_t sessionId);

private:
    mutable std::mutex mutex_;
    tDeviceData data_;
};

} // namespace DevSim
