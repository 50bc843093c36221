// Where the program finds _propids.txt: beside itself in the build tree, in the data folder
// once installed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempDir.h"
#include "posix/ReferenceFolder.h"

namespace {

struct Layout {
    const char* name;
    bool besideProgram;
    const char* inData;  // what stands at share/tarnel/_propids.txt: "file", "folder" or ""
    const char* expected;
};

class ReferenceFolderTest : public ::testing::TestWithParam<Layout> {};

TEST_P(ReferenceFolderTest, picksTheFolderThatHoldsTheReference) {
    const Layout& layout = GetParam();
    TempDir dir;
    dir.makeFolder("bin");
    dir.makeFolder("share");
    dir.makeFolder("share/tarnel");
    if (layout.besideProgram)
        dir.write("bin/_propids.txt");
    if (std::string(layout.inData) == "file")
        dir.write("share/tarnel/_propids.txt");
    if (std::string(layout.inData) == "folder")
        dir.makeFolder("share/tarnel/_propids.txt");

    std::filesystem::path root(dir.path());
    EXPECT_EQ(referenceFolder(root / "bin", "../share/tarnel"), root / layout.expected);
}

INSTANTIATE_TEST_SUITE_P(Layouts, ReferenceFolderTest,
                         ::testing::Values(Layout{"buildTree", true, "", "bin"},
                                           Layout{"installed", false, "file", "share/tarnel"},
                                           Layout{"bothPrefersTheProgramsOwn", true, "file", "bin"},
                                           Layout{"neitherKeepsTheProgramsFolder", false, "",
                                                  "bin"},
                                           Layout{"aFolderIsNoReference", false, "folder", "bin"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
