#pragma once
// Resource ids of the controls' test program.
namespace ControlsTest {

constexpr int kDiscIcon = 301;
constexpr int kDiamondIcon = 302;
constexpr int kBarIcon = 303;
constexpr int kDiscBitmap = 311;
// Check-mark pictures for the menu: a diamond and a bar.
constexpr int kDiamondBitmap = 312;
constexpr int kBarBitmap = 313;
constexpr unsigned kTipText = 321;
constexpr unsigned kLabelText = 322;
constexpr unsigned kCountFormat = 323;
// A toolbar over the disc bitmap (same name), for the menu's images.
constexpr int kMenuToolbar = kDiscBitmap;
constexpr unsigned kOpenCommand = 331;
constexpr unsigned kSaveCommand = 332;
constexpr int kButtonMenu = 341;

}
