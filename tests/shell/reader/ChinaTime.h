#pragma once

#include <ctime>

#include "TempDir.h"

// Local time as a Simplified Chinese system in China has it, for the life of the object.
class ChinaTime {
  public:
    ChinaTime() { ::tzset(); }

  private:
    // Destroyed after the variable is restored, so the old zone comes back too.
    struct ZoneReload {
        ~ZoneReload() { ::tzset(); }
    } m_reload;
    ScopedEnv m_tz{"TZ", "CST-8"};
};
