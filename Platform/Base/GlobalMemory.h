#pragma once
// Global memory blocks: the clipboard's data and other blocks handed between
// parts by handle. A handle is always a table number, also for GMEM_FIXED
// blocks: the memory is reached through GlobalLock only.
#include "Platform/Base/Types.h"

using HGLOBAL = HANDLE;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_MODIFY = 0x0080;
constexpr UINT GMEM_SHARE = 0x2000;  // meaningless within one process, accepted
constexpr UINT GMEM_DDESHARE = GMEM_SHARE;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;
constexpr DWORD ERROR_NOT_LOCKED = 158;

// Null with ERROR_NOT_ENOUGH_MEMORY when the block cannot be had, with
// ERROR_INVALID_PARAMETER for unknown flags. The block is zeroed always.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// Resizes the block, keeping its handle and its first bytes; new bytes are
// zeroed. A locked block grows only with GMEM_MOVEABLE (its memory moves).
// GMEM_MODIFY changes nothing here. Null on failure, the block unchanged.
HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags);
// Returns null when the handle is freed or invalid (ERROR_INVALID_HANDLE).
HGLOBAL GlobalFree(HGLOBAL memory);
// The block's memory, counting the lock; null for an empty block.
LPVOID GlobalLock(HGLOBAL memory);
// TRUE while locks remain; FALSE with NO_ERROR when the last one went, and
// with ERROR_NOT_LOCKED when there was none.
BOOL GlobalUnlock(HGLOBAL memory);
SIZE_T GlobalSize(HGLOBAL memory);
