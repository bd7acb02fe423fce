#include "system/processor_usage.h"

#include <cstring>

#include "procaddress.h"

namespace {

typedef LONG(WINAPI* NtQuerySystemInformationFunction)(UINT, PVOID, ULONG, PULONG);

struct SYSTEM_BASIC_INFORMATION {
    DWORD dwUnknown1;
    ULONG uKeMaximumIncrement;
    ULONG uPageSize;
    ULONG uMmNumberOfPhysicalPages;
    ULONG uMmLowestPhysicalPage;
    ULONG uMmHighestPhysicalPage;
    ULONG uAllocationGranularity;
    PVOID pLowestUserAddress;
    PVOID pMmHighestUserAddress;
    ULONG_PTR uKeActiveProcessors;  // an affinity mask: pointer-sized
    BYTE bKeNumberProcessors;
    BYTE bUnknown2;
    WORD wUnknown3;
};
// The system refuses a record of any other size for its kind.
static_assert(sizeof(SYSTEM_BASIC_INFORMATION) == (sizeof(void*) == 8 ? 64 : 44), "the class 0 answer");

struct SYSTEM_PERFORMANCE_INFORMATION {
    LARGE_INTEGER liIdleTime;
    DWORD dwSpare[76];
};
static_assert(sizeof(SYSTEM_PERFORMANCE_INFORMATION) == 312, "the class 2 answer");

struct SYSTEM_TIME_INFORMATION {
    LARGE_INTEGER liKeBootTime;
    LARGE_INTEGER liKeSystemTime;
    LARGE_INTEGER liExpTimeZoneBias;
    ULONG uCurrentTimeZoneId;
    DWORD dwReserved;
};
static_assert(sizeof(SYSTEM_TIME_INFORMATION) == 32, "the class 3 answer");

struct CPU_INFORMATION {
    NtQuerySystemInformationFunction NtQuerySystemInformation;
    SYSTEM_PERFORMANCE_INFORMATION SysPerfInfo;
    SYSTEM_TIME_INFORMATION SysTimeInfo;
    SYSTEM_BASIC_INFORMATION SysBaseInfo;
    double dbIdleTime;
    double dbSystemTime;
    LARGE_INTEGER liOldIdleTime;
    LARGE_INTEGER liOldSystemTime;
    HKEY hCpukey;
    PLATFORM TypeSys;
    int prepeaTrue;
};

CPU_INFORMATION CPUInfo;
int lastUsage;

const UINT kBasicInformation = 0;
const UINT kPerformanceInformation = 2;
const UINT kTimeOfDayInformation = 3;
const char kUsageValue[] = "KERNEL\\CPUUsage";

double Li(const LARGE_INTEGER& value) {
    return static_cast<double>(value.HighPart) * 4294967296.0 + static_cast<double>(value.LowPart);
}

void TouchStatistic(const char* subkey) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_DYN_DATA, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
    DWORD value = 0, size = sizeof value, type = 0;
    RegQueryValueExA(key, kUsageValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
}

}  // namespace

PLATFORM GetPlatform() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return UNKNOWN;
    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) return WIN9X;
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) return WINNT;
    return UNKNOWN;
}

int UsageFromTimes(double idleDelta, double systemDelta, int processors) {
    if (processors < 1) processors = 1;
    double idle = idleDelta / systemDelta;
    double usage = 100.0 - 100.0 * idle / processors + 0.5;
    return static_cast<int>(static_cast<unsigned>(usage));
}

void PrepeaCpu() {
    CPU_INFORMATION fresh = {};
    CPUInfo = fresh;
    lastUsage = 0;
    CPUInfo.TypeSys = GetPlatform();
    if (CPUInfo.TypeSys == WINNT) {
        CPUInfo.NtQuerySystemInformation =
            GetProcAddressAs<NtQuerySystemInformationFunction>(GetModuleHandleA("ntdll"), "NtQuerySystemInformation");
        if (!CPUInfo.NtQuerySystemInformation) return;
        if (CPUInfo.NtQuerySystemInformation(kBasicInformation, &CPUInfo.SysBaseInfo, sizeof CPUInfo.SysBaseInfo,
                                             nullptr) != 0)
            return;
    } else if (CPUInfo.TypeSys == WIN9X) {
        TouchStatistic("PerfStats\\StartStat");
        if (RegOpenKeyExA(HKEY_DYN_DATA, "PerfStats\\StatData", 0, KEY_QUERY_VALUE, &CPUInfo.hCpukey) != ERROR_SUCCESS)
            CPUInfo.hCpukey = nullptr;
    }
    CPUInfo.prepeaTrue = 1;
}

int GetCpuUsage() {
    if (!CPUInfo.prepeaTrue) return 0;
    if (CPUInfo.TypeSys == WIN9X) {
        DWORD value = 0, size = sizeof value, type = 0;
        if (!CPUInfo.hCpukey ||
            RegQueryValueExA(CPUInfo.hCpukey, kUsageValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                ERROR_SUCCESS)
            return 0;
        return static_cast<int>(value);
    }
    if (CPUInfo.TypeSys != WINNT) return 0;
    if (CPUInfo.NtQuerySystemInformation(kTimeOfDayInformation, &CPUInfo.SysTimeInfo, sizeof CPUInfo.SysTimeInfo,
                                         nullptr) != 0 ||
        CPUInfo.NtQuerySystemInformation(kPerformanceInformation, &CPUInfo.SysPerfInfo, sizeof CPUInfo.SysPerfInfo,
                                         nullptr) != 0)
        return 0;
    if (CPUInfo.liOldIdleTime.QuadPart != 0) {
        CPUInfo.dbIdleTime = Li(CPUInfo.SysPerfInfo.liIdleTime) - Li(CPUInfo.liOldIdleTime);
        CPUInfo.dbSystemTime = Li(CPUInfo.SysTimeInfo.liKeSystemTime) - Li(CPUInfo.liOldSystemTime);
        // No time passed: keep the previous answer rather than divide by 0.
        if (CPUInfo.dbSystemTime > 0)
            lastUsage = UsageFromTimes(CPUInfo.dbIdleTime, CPUInfo.dbSystemTime, CPUInfo.SysBaseInfo.bKeNumberProcessors);
    }
    CPUInfo.liOldIdleTime = CPUInfo.SysPerfInfo.liIdleTime;
    CPUInfo.liOldSystemTime = CPUInfo.SysTimeInfo.liKeSystemTime;
    return lastUsage;
}

void CloseCpu() {
    if (CPUInfo.TypeSys != WIN9X) return;
    if (CPUInfo.hCpukey) RegCloseKey(CPUInfo.hCpukey);
    CPUInfo.hCpukey = nullptr;
    TouchStatistic("PerfStats\\StopStat");
}
