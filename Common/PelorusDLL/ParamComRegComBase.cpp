#include "Common/PelorusDLL/ParamComRegComBase.h"

#include "Common/PelorusDLL/ServiceBase.h"

namespace {

constexpr unsigned int kParameterTable = 0;
constexpr unsigned int kDataRegister = 56;
constexpr unsigned int kControlRegister = 57;

}

bool CParamComRegComBase::WriteControlWord(unsigned short channel, unsigned short, unsigned short word)
{
    return WriteWord(channel, kControlRegister, word);
}

bool CParamComRegComBase::ReadStatusWord(unsigned short channel, unsigned short, unsigned short& word)
{
    return ReadWord(channel, kControlRegister, word);
}

bool CParamComRegComBase::WriteDataWord(unsigned short channel, unsigned short, unsigned short word)
{
    return WriteWord(channel, kDataRegister, word);
}

bool CParamComRegComBase::ReadDataWord(unsigned short channel, unsigned short, unsigned short& word)
{
    return ReadWord(channel, kDataRegister, word);
}

bool CParamComRegComBase::WriteWord(unsigned short channel, unsigned int reg, unsigned short word)
{
    return m_service != nullptr && m_service->WriteRegister(channel, kParameterTable, reg, 1, &word);
}

bool CParamComRegComBase::ReadWord(unsigned short channel, unsigned int reg, unsigned short& word)
{
    return m_service != nullptr && m_service->ReadRegister(channel, kParameterTable, reg, 1, &word);
}
