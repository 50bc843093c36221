// The Windows build holds its texts in GBK and must keep them intact on code page 936.
#include <windows.h>

#include <gtest/gtest.h>

#include "CCore.h"
#include "ConfigHome.h"
#include "NarrowText.h"

namespace {

std::wstring toWide(const std::string& text) {
    int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

const char kMessage[] = "要处理的目录不能为空！";

}  // namespace

TEST(CodePage, runsUnderTheSimplifiedChineseCodePage) {
    EXPECT_EQ(GetACP(), 936u);
}

TEST(CodePage, messagesAreCompiledToGbkBytes) {
    EXPECT_EQ(std::string(kMessage),
              "\xD2\xAA\xB4\xA6\xC0\xED\xB5\xC4\xC4\xBF\xC2\xBC\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5"
              "\xA3\xA1");
    EXPECT_EQ(toWide(kMessage), L"要处理的目录不能为空！");
}

TEST(CodePage, aMessageSurvivesTheStoreOnCodePage936) {
    ConfigHome home;
    CCore core;
    core.autoFileConfig();
    core.saveConfigStr("pathuser", kMessage);
    EXPECT_EQ(toWide(CCore().getConfigStr("pathuser")), L"要处理的目录不能为空！");
}

TEST(CodePage, aTrailByteThatLooksLikeABackslashIsNoSeparator) {
    CCore core;
    const std::string endsInGbkChar = "C:\\docs\\\x95\x5C";  // 昞
    EXPECT_EQ(core.parsePath(endsInGbkChar), endsInGbkChar + "\\");
    EXPECT_EQ(core.parsePath("C:\\docs\\"), "C:\\docs\\");
    EXPECT_EQ(narrow_text::replaceAll("\xA3\xAC"
                                      "2\xA3\xAC",
                                      "\xA3\xAC", ","),
              ",2,");
    // "\xB0\xA3" + "\xAC\xA3" holds the bytes A3 AC across a character boundary.
    EXPECT_EQ(narrow_text::replaceAll("\xB0\xA3\xAC\xA3", "\xA3\xAC", ","), "\xB0\xA3\xAC\xA3");
}
