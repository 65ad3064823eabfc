#pragma once
// The framework's start of the object library for the calling thread (it
// counts with OleInitialize and pairs with OleUninitialize).

#include "Platform/Base/Types.h"

// TRUE when the library is started for the thread, also when it was already.
BOOL AfxOleInit();
