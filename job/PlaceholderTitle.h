#pragma once

#include <string>

// Whether a document's title says nothing about it: blank, only digits, punctuation and
// blanks, or a name a program or template leaves when nobody gives one (see the table in
// PlaceholderTitle.cpp). The title is narrow text: UTF-8 on Linux, the ANSI code page on
// Windows; Latin letters are compared in any case.
bool isPlaceholderTitle(const std::string& title);
