#pragma once
// The system's local wall clock (GetLocalTime). Windows only.
#include "update/LocalTime.h"

class SystemClock : public Clock {
public:
    LocalTime Now() override;
};
