#include "Common/SystemHelper/Errors/MessageBoxHandler.h"

#include "Platform/Base/DebugOutput.h"

#include <atomic>

namespace {

std::atomic<MessageBoxHandler> g_default{nullptr};
std::atomic<MessageBoxHandler> g_handler{nullptr};

}

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    g_handler.store(handler);
}

void SetDefaultMessageBoxHandler(MessageBoxHandler handler)
{
    g_default.store(handler);
}

void ShowMessageToUser(const wchar_t* text, UINT type)
{
    MessageBoxHandler handler = g_handler.load();
    if (!handler)
        handler = g_default.load();
    if (handler)
        handler(text, type);
    else
        OutputDebugStringW(text);
}
