#pragma once
// A module's indexed parameter set, read and written one index at a time.

#include "Common/Communication/PelorusApi.h"

class PELORUS_API CParamComBase {
public:
    CParamComBase() = default;
    CParamComBase(const CParamComBase&) = delete;
    CParamComBase& operator=(const CParamComBase&) = delete;
    virtual ~CParamComBase() = default;

    // Reads the parameter at index 255 (the module's parameter count).
    virtual bool ReadParameter(unsigned short channel, unsigned short reserved, unsigned short* data) = 0;
    virtual bool WriteParameters(unsigned short channel, unsigned short reserved, unsigned short firstIndex,
                                 const unsigned short* values, unsigned short count) = 0;
    virtual bool ReadParameters(unsigned short channel, unsigned short reserved, unsigned short firstIndex,
                                unsigned short* data, unsigned short count) = 0;
    // Writes 0 to index 255, which sets the module's defaults.
    virtual bool WriteDefault(unsigned short channel, unsigned short reserved) = 0;
};
