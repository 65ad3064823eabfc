#pragma once
// Resource ids of the controls' test program.
namespace ControlsTest {

constexpr int kDiscIcon = 301;
constexpr int kDiamondIcon = 302;
constexpr int kBarIcon = 303;
constexpr int kDiscBitmap = 311;
constexpr unsigned kTipText = 321;
constexpr unsigned kLabelText = 322;
constexpr unsigned kCountFormat = 323;

}
