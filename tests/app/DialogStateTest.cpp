#include "DialogState.h"

#include <gtest/gtest.h>

namespace {

TEST(DialogState, derivesTheReferenceFileByAppendingTheName) {
    setProcessPaths("/opt/tarnel/");
    EXPECT_EQ(processPaths().refFilePath, "/opt/tarnel/_propids.txt");
}

}  // namespace
