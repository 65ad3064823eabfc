#pragma once
// The resolution of the screen, which every context on it reports
// (LOGPIXELSX/Y) and scales physical units by. The window layer sets it from
// its display; until then it is 96.

// Takes effect for contexts made from now on; values outside 48..480 are ignored.
void SetScreenDpi(int dpi);
int GetScreenDpi();
