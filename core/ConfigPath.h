#pragma once

#include <string>

// Where the configuration store lives on this platform, and how a file is replaced
// atomically there. One source per platform.
namespace config_path {

// The folder of the INI file, without a trailing separator; empty when the platform gives
// no place for it.
std::string storeFolder();

// Full path of the INI file; empty when the platform gives no place for it.
std::string storeFile();

// Creates the folder that holds the store, with its parents.
void createStoreFolder();

// Writes content to a temporary file beside target, flushes it to disk and renames it over
// target in one step. False when any step fails; target is then untouched.
bool replaceFileAtomically(const std::string& target, const std::string& content);

// The whole content of a file, or empty text when it cannot be read.
std::string readWholeFile(const std::string& path);

}  // namespace config_path
