#pragma once

namespace PelorusTest {

constexpr unsigned kBalloonText = 61001;

}
