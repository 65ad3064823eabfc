#pragma once
// Device-context state: objects, modes, colours, saved states, map modes.
#include "Platform/Gdi/GdiTypes.h"

HDC CreateCompatibleDC(HDC dc);  // null dc: compatible with the screen
BOOL DeleteDC(HDC dc);

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);  // regions: returns the region kind cast to HGDIOBJ
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
BOOL DeleteObject(HGDIOBJ object);
HGDIOBJ GetStockObject(int index);
DWORD GetObjectType(HGDIOBJ object);
inline DWORD GetObjectType(HDC dc) { return GetObjectType(reinterpret_cast<HGDIOBJ>(dc)); }
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);
#define GetObject GetObjectW

int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int saved);  // saved < 0: relative to the newest

COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
int SetROP2(HDC dc, int mode);
int GetROP2(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT old);
BOOL GetBrushOrgEx(HDC dc, LPPOINT org);
COLORREF SetDCBrushColor(HDC dc, COLORREF color);
COLORREF SetDCPenColor(HDC dc, COLORREF color);

int SetMapMode(HDC dc, int mode);
int GetMapMode(HDC dc);
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT old);
BOOL GetWindowOrgEx(HDC dc, LPPOINT org);
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT old);
BOOL GetViewportOrgEx(HDC dc, LPPOINT org);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT old);
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, LPPOINT old);
BOOL SetWindowExtEx(HDC dc, int x, int y, LPSIZE old);
BOOL GetWindowExtEx(HDC dc, LPSIZE ext);
BOOL SetViewportExtEx(HDC dc, int x, int y, LPSIZE old);
BOOL GetViewportExtEx(HDC dc, LPSIZE ext);
BOOL DPtoLP(HDC dc, LPPOINT points, int count);
BOOL LPtoDP(HDC dc, LPPOINT points, int count);

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT old);
BOOL GetCurrentPositionEx(HDC dc, LPPOINT pos);

int GetDeviceCaps(HDC dc, int index);
