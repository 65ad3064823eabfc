#pragma once
// Object-library start-up as the callers expect it: there are no objects
// behind it here, but the calls succeed and pair up per thread. The first
// successful call of a thread gives S_OK, further ones S_FALSE; every one of
// them needs its CoUninitialize. A thread keeps the concurrency model of its
// first call: asking for the other one fails with RPC_E_CHANGED_MODE, which
// needs no uninitialize.

#include "Platform/Base/Types.h"

constexpr DWORD COINIT_MULTITHREADED = 0x0;
constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;
constexpr DWORD COINIT_DISABLE_OLE1DDE = 0x4;
constexpr DWORD COINIT_SPEED_OVER_MEMORY = 0x8;
constexpr HRESULT RPC_E_CHANGED_MODE = static_cast<HRESULT>(0x80010106u);

HRESULT CoInitializeEx(LPVOID reserved, DWORD flags);
// Single-threaded apartment.
HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();
// Initialises the object library for the thread (apartment model) too.
HRESULT OleInitialize(LPVOID reserved);
void OleUninitialize();
