#include "update/SystemClock.h"

#include <windows.h>

LocalTime SystemClock::Now()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LocalTime{now.wYear, now.wMonth, now.wDay, now.wDayOfWeek, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}
