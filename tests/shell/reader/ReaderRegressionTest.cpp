// Every input that once crashed, hung or misled a reader, through each reader: it returns,
// and what it gives is valid UTF-8.
#include <gtest/gtest.h>

#include <filesystem>

#include "DocumentFile.h"
#include "DocxReader.h"
#include "TempDir.h"
#include "Utf8Text.h"
#ifdef TARNEL_HAVE_DOC_READER
#include "DocReader.h"
#endif

namespace {

const std::filesystem::path kRegressions = TARNEL_READER_REGRESSIONS;

void expectValidTexts(const std::optional<DocumentProperties>& properties,
                      const std::string& what) {
    if (!properties)
        return;
    for (const std::string* text :
         {&properties->title, &properties->subject, &properties->authors, &properties->keywords,
          &properties->comments, &properties->category, &properties->company, &properties->manager,
          &properties->lastAuthor, &properties->revision, &properties->templateName,
          &properties->application}) {
        EXPECT_EQ(validUtf8(*text), *text) << what;
    }
}

}  // namespace

TEST(ReaderRegressions, everyKeptInputReadsToValidTextsThroughEveryReader) {
    std::size_t inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kRegressions)) {
        std::string path = entry.path().string();
        std::string bytes = readFile(path);
        ++inputs;
        expectValidTexts(readDocumentFile(path), path);
        expectValidTexts(readDocxMemory(bytes.data(), bytes.size()), path + " as a package");
#ifdef TARNEL_HAVE_DOC_READER
        expectValidTexts(readDocMemory(bytes.data(), bytes.size()), path + " as a .doc");
#endif
    }
    EXPECT_GE(inputs, 4u);
}
