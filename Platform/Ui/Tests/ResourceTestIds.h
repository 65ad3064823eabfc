#pragma once
// The ids of the test program's own resource table (ResourceTestTable.cpp)
// and of the test libraries' tables.
#include "Platform/Base/Types.h"

#include <vector>

namespace ResourceTest {

constexpr UINT kTitle = 16;        // block 2: en-US, de-DE
constexpr UINT kSaved = 17;
constexpr UINT kOnlyEnglish = 20;  // en-US only: the German block 2 lacks it
constexpr UINT kEmpty = 21;
constexpr UINT kSmile = 22;        // a character outside the 16-bit range
constexpr UINT kUnused = 31;       // block 2, in no language
constexpr UINT kLong = 40;
constexpr UINT kGermanNeutral = 100; // de (neutral sub-language) only
constexpr UINT kNeutral = 200;       // LANG_NEUTRAL only
constexpr UINT kOnlyFrench = 300;    // fr-FR only
constexpr UINT kNowhere = 5000;

constexpr int kDialog = 500;
constexpr int kMenu = 600;
constexpr int kOpen = 601;
constexpr int kExit = 602;
constexpr int kWrap = 603;
constexpr int kDeep = 604;
constexpr int kHelp = 605;
constexpr int kAccelerators = 700;
constexpr int kIcon = 800;
constexpr int kCursor = 801;
constexpr int kBitmap = 802;
constexpr int kToolbar = kBitmap;   // its strip is the bitmap of the same id

constexpr UINT kLibraryText = 120; // both test libraries, each with its own text
constexpr int kLibraryData = 900;  // RT_RCDATA of library A only
constexpr UINT kSharedText = 140;  // the resources both libraries link in
constexpr int kSharedIcon = 830;

// A dialog template of one button, written by hand as DLGTEMPLATE bytes.
std::vector<BYTE> SmallDialogTemplate();

}
