#pragma once
// A protocol frames requests of any length on one connection.

#include "Common/Communication/IConnection.h"
#include "Common/Communication/PelorusApi.h"

namespace ZELL {

// Reports a rising percentage of a transfer to the caller.
using ProgressCallback = void (*)(unsigned short percent, bool running, void* context);

class PELORUS_API IProtocol {
public:
    virtual ~IProtocol() = default;
    virtual void SetConnection(IConnection* connection) = 0;
    virtual IConnection* GetConnection() const = 0;
    // The answer is a new array the caller frees with delete[]; an array held
    // in `answer` before is freed first.
    virtual bool Request(unsigned char* data, unsigned int length, unsigned char** answer, unsigned int& answerLength,
                         ProgressCallback progress, void* context) = 0;
    virtual bool Request(unsigned short command, unsigned char* data, unsigned int length, unsigned char** answer,
                         unsigned int& answerLength, ProgressCallback progress, void* context) = 0;
    virtual unsigned short GetLastCommandError() = 0;
    virtual const wchar_t* GetLastErrorMessage() const = 0;
    // Why the last failed request's answer could not be taken, when it
    // arrived but was malformed or too long (kErrorMalformedAnswer,
    // kErrorAnswerTooLong); 0 otherwise. Returns the code once.
    virtual unsigned long TakeAnswerFault() { return 0; }
};

}
