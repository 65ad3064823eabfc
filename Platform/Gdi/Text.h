#pragma once
// Fonts and text output (pango and fontconfig underneath).
#include "Platform/Gdi/GdiTypes.h"
#include "Platform/Gdi/TextExtent.h"

HFONT CreateFontIndirectW(const LOGFONTW* log);
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCWSTR face);
#define CreateFontIndirect CreateFontIndirectW
#define CreateFont CreateFontW

BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics);
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size);
int GetTextFaceW(HDC dc, int count, LPWSTR face);
#define GetTextMetrics GetTextMetricsW
#define GetTextExtentPoint32 GetTextExtentPoint32W
#define GetTextExtentPoint GetTextExtentPoint32W
#define GetTextFace GetTextFaceW

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count);
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const INT* dx);
#define TextOut TextOutW
#define ExtTextOut ExtTextOutW

// Returns the text height in logical units (0 on failure). With
// DT_MODIFYSTRING the shortened text is written back, never beyond the
// given length (count, or the terminator's place when count is -1).
int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format);
#define DrawText DrawTextW

BOOL SetTextJustification(HDC dc, int extra, int breaks);
