#pragma once
// Moves every hive store into a fresh temporary folder for one test.

#include "Platform/Base/Tests/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>

class TempConfigHome : public TestSupport::CTempConfigHome {
public:
    TempConfigHome() : CTempConfigHome("zell-registry-test") {}
    std::filesystem::path StoreDir() const { return Dir() / "zell-software"; }
};
