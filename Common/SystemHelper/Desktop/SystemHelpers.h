#pragma once
// The system, file and version helpers in one include.

#include "Common/SystemHelper/System/FileHelpers.h"
#include "Common/SystemHelper/System/ModuleVersion.h"
#include "Common/SystemHelper/System/ProcessRunner.h"
#include "Common/SystemHelper/Desktop/ShellHelpers.h"
#include "Common/SystemHelper/Desktop/SystemInfo.h"
#include "Common/SystemHelper/Desktop/WindowHelpers.h"
#include "Common/SystemHelper/System/WindowsVersion.h"
