#pragma once
// The system, file and version helpers in one include.

#include "Common/SystemHelper/FileHelpers.h"
#include "Common/SystemHelper/ModuleVersion.h"
#include "Common/SystemHelper/ProcessRunner.h"
#include "Common/SystemHelper/ShellHelpers.h"
#include "Common/SystemHelper/SystemInfo.h"
#include "Common/SystemHelper/WindowHelpers.h"
#include "Common/SystemHelper/WindowsVersion.h"
