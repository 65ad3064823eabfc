#pragma once
// The parameter channel over the register operations of a device service:
// register 56 of table 0 carries the data word, register 57 the control and
// status word, at the module's node position (the channel).

#include "Common/PelorusDLL/ParamComRegister.h"

class CServiceBase;

class PELORUS_API CParamComRegComBase : public CParamComRegister {
public:
    explicit CParamComRegComBase(CServiceBase* service = nullptr) : m_service(service) {}

    bool WriteControlWord(unsigned short channel, unsigned short reserved, unsigned short word) override;
    bool ReadStatusWord(unsigned short channel, unsigned short reserved, unsigned short& word) override;
    bool WriteDataWord(unsigned short channel, unsigned short reserved, unsigned short word) override;
    bool ReadDataWord(unsigned short channel, unsigned short reserved, unsigned short& word) override;

private:
    bool WriteWord(unsigned short channel, unsigned int reg, unsigned short word);
    bool ReadWord(unsigned short channel, unsigned int reg, unsigned short& word);

    CServiceBase* m_service = nullptr; // not owned: the service owns the channel
};
