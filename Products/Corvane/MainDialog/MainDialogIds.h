#pragma once
// The ids of the main dialog: its templates, controls, icons, menus and
// commands. The templates of every DPI class carry the same controls.
#include "Platform/Base/Types.h"

namespace Corvane {

namespace CorvaneIds {

// Templates.
constexpr UINT kMainDialog = 102;
constexpr UINT kMainDialog120 = 291;
constexpr UINT kMainDialogOtherLanguage = 297;

// Toolbar buttons.
constexpr int kReadButton = 1012;
constexpr int kOpenButton = 1014;
constexpr int kSaveButton = 1015;
constexpr int kWriteButton = 1025;
constexpr int kRestartButton = 1051;
constexpr int kFactoryDefaultsButton = 1024;
constexpr int kResetFileSystemButton = 1057;
constexpr int kSettingsButton = 1031;

// Header, status line and sheet.
constexpr int kStatusLine = 1032;
constexpr int kTitleLine1 = 1013;
constexpr int kTitleLine2 = 1017;
constexpr int kHeaderIcon = 1180;
constexpr int kOemLogo = 1243;
constexpr int kHeaderBand = 1251;
constexpr int kConnectionIcon = 1183;
constexpr int kConnectionText = 1022;
constexpr int kBusyIndicator = 1021;
constexpr int kProgressBar = 1250;
constexpr int kSheetPlaceholder = 1059;

// Icons and bitmaps.
constexpr UINT kAppIcon = 252;
constexpr UINT kReadIcon = 261;
constexpr UINT kOpenIcon = 295;
constexpr UINT kSaveIcon = 296;
constexpr UINT kWriteIcon = 263;
constexpr UINT kRestartIcon = 262;
constexpr UINT kFactoryDefaultsIcon = 256;
constexpr UINT kResetFileSystemIcon = 288;
constexpr UINT kSettingsIcon = 264;
constexpr UINT kSettingsMenu = 267;
constexpr UINT kSettingsMenuBitmaps = 275;
constexpr UINT kStatusMenuBitmaps = 276;
// Both menus' images: 16 x 20 cells, magenta see-through.
constexpr int kMenuImageWidth = 16;
constexpr int kMenuImageHeight = 20;
constexpr COLORREF kMenuImageMask = 0xFF00FF;

// Connection-state icons.
constexpr UINT kStateWorking = 269;
constexpr UINT kStateConnecting = 270;
constexpr UINT kStateFailed = 271;
constexpr UINT kStateIdle = 272;
constexpr UINT kStateOffline = 297;

// Settings menu.
constexpr UINT kMenuLanguageDe = 40008;
constexpr UINT kMenuLanguageEn = 40009;
constexpr UINT kMenuCommunication = 40010;
constexpr UINT kMenuMessages = 40011;
constexpr UINT kMenuLanguageFr = 40013;
constexpr UINT kMenuLanguageEs = 40015;
constexpr UINT kMenuLanguageJa = 40020;

// Status-line menu.
constexpr UINT kStatusCopy = 32786;
constexpr UINT kStatusPaste = 32787;
constexpr UINT kStatusDelete = 32788;
constexpr UINT kStatusSave = 57603;

// wParam of "WM_WRITE_SETTINGS" from the close query: close after the write.
constexpr WPARAM kWriteThenClose = 1;

// The system menu's about item.
constexpr UINT kAboutCommand = 16;
// Timer that returns the status line to "ready".
constexpr UINT_PTR kStatusTimer = 1;
constexpr UINT kStatusTimerMs = 10000;

}

}  // namespace Corvane
