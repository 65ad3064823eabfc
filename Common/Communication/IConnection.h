#pragma once
// The one medium-independent connection through which every byte to and from
// a device travels.

#include "Common/Communication/PelorusApi.h"

namespace ZELL {

class PELORUS_API IConnection {
public:
    IConnection() = default;
    IConnection(const IConnection&) = default;
    IConnection& operator=(const IConnection&) = default;
    virtual ~IConnection() = default;

    virtual void Open() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual void Write(unsigned char* data, unsigned int length, unsigned int* written) = 0;
    virtual void Read(unsigned char* buffer, unsigned int length, unsigned int* read) = 0;
    virtual void Execute(unsigned char* request, unsigned int length, unsigned char** response,
                         unsigned int& responseLength) = 0;
    virtual void ClearBuffer() = 0;
    virtual unsigned long GetLastErrorCode() = 0;
    virtual bool ReadFragment(unsigned char** buffer, unsigned int* length) = 0;
    virtual bool ReadFragment(unsigned char** buffer, unsigned int lengthPos, unsigned short sizeOfLength,
                              short lengthCorrection, unsigned int* length) = 0;

    // The bounds of one request, from its first byte sent to the last byte
    // of its answer: until EndRequest every transfer ends by one deadline
    // that the connection sets from its own time-out, however many fragments
    // the request takes and whatever its answers announce, and ReadFragment
    // refuses at once a fragment whose length field announces more than
    // `maxAnnounced` bytes (0: no such bound). A medium without time-outs of
    // its own may ignore both.
    virtual void BeginRequest(unsigned int requestLength, unsigned int maxAnnounced)
    {
        static_cast<void>(requestLength);
        static_cast<void>(maxAnnounced);
    }
    virtual void EndRequest() {}
};

}
