#pragma once

#include <map>
#include <string>

// The text form of the configuration store: one [Tarnel] section of key="value" lines.
// Values are written in quotes with C escapes for backslash, quote and control bytes, so
// every byte sequence (blanks at either end, '=', ';', '[', CR/LF, GBK or UTF-8 text)
// comes back exactly. Parsing never fails: lines it cannot read are left out.
namespace ini_store {

using Entries = std::map<std::string, std::string>;

std::string format(const Entries& entries);
Entries parse(const std::string& text);

}  // namespace ini_store
