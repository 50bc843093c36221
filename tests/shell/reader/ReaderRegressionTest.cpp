// Every input that once crashed, hung or misled a reader, through each reader: it returns,
// and what it gives is valid UTF-8.
#include <gtest/gtest.h>

#include <filesystem>

#include "DocReader.h"
#include "DocumentFile.h"
#include "DocumentReading.h"
#include "DocxReader.h"
#include "TempDir.h"
#include "ValidTexts.h"

namespace {

const std::filesystem::path kRegressions = TARNEL_READER_REGRESSIONS;

}  // namespace

TEST(ReaderRegressions, everyKeptInputReadsToValidTextsThroughEveryReader) {
    std::size_t inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kRegressions)) {
        std::string path = entry.path().string();
        std::string bytes = readFile(path);
        ++inputs;
        EXPECT_TRUE(textsAreValidUtf8(readDocumentFile(path))) << path;
        EXPECT_TRUE(textsAreValidUtf8(readFromMemory(readDocx, bytes.data(), bytes.size())))
            << path;
        EXPECT_TRUE(textsAreValidUtf8(readFromMemory(readDoc, bytes.data(), bytes.size()))) << path;
    }
    EXPECT_GT(inputs, 0u) << "no kept inputs in " << kRegressions;
}
