// Processor load in percent, from the native system information on the NT
// family and from the kernel's statistic in the dynamic registry on the 95
// family.
#pragma once

#include <windows.h>

enum PLATFORM { WINNT = 0, WIN9X = 1, UNKNOWN = 2 };

PLATFORM GetPlatform();
void PrepeaCpu();
// Load since the previous call (the first call answers 0).
int GetCpuUsage();
void CloseCpu();

// One NT-method interval: idle and system time differences (100 ns) on that
// many processors, as a percentage plus one half, truncated.
int UsageFromTimes(double idleDelta, double systemDelta, int processors);
