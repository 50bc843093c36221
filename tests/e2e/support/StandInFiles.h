#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "TableLine.h"
#include "TempDir.h"

// What a test tells the stand-in shell and what the stand-in records, in a folder of the
// test's named through the environment to every program the test starts. The table is
// rewritten with every answer added, so it is complete whenever a program starts.
class StandInFiles {
  public:
    StandInFiles();

    void heading(int column, const std::wstring& text);
    void text(const std::wstring& file, int column, const std::wstring& text);
    void nullText(const std::wstring& file, int column);
    // S_FALSE, with the text.
    void falseText(const std::wstring& file, int column, const std::wstring& text);
    // The HRESULT, with the description as the call's error information.
    void failure(const std::wstring& file, int column, HRESULT hr, const std::wstring& description);

    // Every object the stand-in made for the programs run so far was released exactly as
    // often as it was referenced, and there was at least one.
    ::testing::AssertionResult everyReferenceReleased() const;

  private:
    void add(stand_in::TableLine line);

    TempDir m_dir;
    ScopedEnv m_tableVariable;
    ScopedEnv m_recordVariable;
    std::vector<stand_in::TableLine> m_lines;
};

// The UTF-16 form of a name in the ANSI code page, for the table.
std::wstring wideFromAnsi(const std::string& text);
