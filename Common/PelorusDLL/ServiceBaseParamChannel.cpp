// The parameter channel entry points of the device services.
#include "Common/PelorusDLL/ParamComRegComBase.h"
#include "Common/PelorusDLL/ServiceBase.h"

#include "Platform/Base/LastError.h"

bool CServiceBase::ParamChannelUsable(unsigned short channel) const
{
    // Only the thread's value: a misuse must not replace the code that an
    // earlier operation left for the caller.
    if (channel == 0) {
        SetLastError(PELORUS_ERROR_INVALID_ARGUMENT);
        return false;
    }
    if (!m_paramCom) {
        SetLastError(PELORUS_ERROR_NO_CONNECTION);
        return false;
    }
    return true;
}

bool CServiceBase::ParamIndexesValid(unsigned short index, unsigned short count, const void* data)
{
    // The control word carries 8 bits of index; a higher one would address
    // another parameter than the caller named.
    if ((count != 0 && data == nullptr) ||
        static_cast<unsigned int>(index) + count > CParamComRegister::kLastIndex + 1u) {
        SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
        return false;
    }
    return true;
}

unsigned long CServiceBase::ParamErrorToPelorusError()
{
    if (!m_paramCom)
        return PELORUS_ERROR_PARAM_CHANNEL | 1;
    const unsigned long code = PELORUS_ERROR_PARAM_CHANNEL | static_cast<unsigned long>(m_paramCom->GetError());
    m_paramCom->ClearError();
    return code;
}

bool CServiceBase::RunParamChannel(const wchar_t* name, int line, unsigned short channel, unsigned short index,
                                   unsigned short count, const void* data, const std::function<bool()>& transfer)
{
    if (!ParamChannelUsable(channel))
        return false;
    return RunOperation(name, line, [&] {
        if (!ParamIndexesValid(index, count, data))
            return false;
        const bool done = transfer();
        SetLastErrorCode(done ? 0 : ParamErrorToPelorusError());
        return done;
    });
}

bool CServiceBase::ParamChannelRead(unsigned short channel, unsigned short index, unsigned short* data,
                                    unsigned short count)
{
    return RunParamChannel(L"CServiceBase::ParamChannelRead", __LINE__, channel, index, count, data,
                           [&] { return m_paramCom->ReadParameters(channel, 0, index, data, count); });
}

bool CServiceBase::ParamChannelWrite(unsigned short channel, unsigned short index, const unsigned short* data,
                                     unsigned short count)
{
    return RunParamChannel(L"CServiceBase::ParamChannelWrite", __LINE__, channel, index, count, data,
                           [&] { return m_paramCom->WriteParameters(channel, 0, index, data, count); });
}

bool CServiceBase::ParamChannelDefault(unsigned short channel)
{
    const unsigned short zero = 0;
    return ParamChannelWrite(channel, CParamComRegister::kLastIndex, &zero, 1);
}

bool CServiceBase::ParamChannelGetParamCount(unsigned short channel, unsigned short& count)
{
    return ParamChannelRead(channel, CParamComRegister::kLastIndex, &count, 1);
}

unsigned int CServiceBase::ParamChannelTimeout() const
{
    if (!m_paramCom) {
        SetLastError(PELORUS_ERROR_NO_CONNECTION);
        return 0;
    }
    return m_paramCom->GetTimeout();
}

void CServiceBase::ParamChannelTimeout(unsigned int milliseconds)
{
    if (m_paramCom)
        m_paramCom->SetTimeout(milliseconds);
    else
        SetLastError(PELORUS_ERROR_NO_CONNECTION);
}
