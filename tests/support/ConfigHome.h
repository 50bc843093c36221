#pragma once

#include <string>

#include "TempDir.h"

// Points the configuration store at a fresh folder for one test.
class ConfigHome {
  public:
#ifdef _WIN32
    ConfigHome() : m_env("APPDATA", m_dir.path()) {}
    std::string storeFile() const {
        return m_dir.path() + "Tarnel\\Tarnel.ini";
    }
#else
    ConfigHome() : m_env("XDG_CONFIG_HOME", m_dir.path()) {}
    std::string storeFile() const {
        return m_dir.path() + "tarnel/tarnel.ini";
    }
#endif
    const TempDir& dir() const {
        return m_dir;
    }

  private:
    TempDir m_dir;
    ScopedEnv m_env;
};
