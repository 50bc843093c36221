// What hostile compound files cost: bytes read and memory allocated, whatever they claim.
#include <gsf/gsf-meta-names.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "DocReader.h"
#include "LoopingCompoundFile.h"
#include "OleFixture.h"

namespace {

// Every allocation of this program through operator new, with the peak since a reset.
std::atomic<std::size_t> g_allocated{0};
std::atomic<std::size_t> g_peak{0};
constexpr std::size_t kSizeField = alignof(std::max_align_t);

// Bytes [0, head.size()) are the head's; the rest up to the claimed size reads as zeros,
// as a sparse file's hole does. Counts what is read.
class ClaimingSource : public ByteSource {
  public:
    ClaimingSource(std::string head, std::uint64_t claimed)
        : m_head(std::move(head)), m_size(claimed) {}
    std::uint64_t size() const override { return m_size; }
    bool read(std::uint64_t offset, std::size_t length, std::string& out) override {
        if (!inside(offset, length))
            return false;
        m_bytesRead += length;
        out.assign(length, '\0');
        if (offset < m_head.size())
            m_head.copy(out.data(), length, static_cast<std::size_t>(offset));
        return true;
    }
    std::uint64_t bytesRead() const { return m_bytesRead; }

  private:
    std::string m_head;
    std::uint64_t m_size;
    std::uint64_t m_bytesRead = 0;
};

struct Cost {
    std::uint64_t bytesRead;
    std::size_t peakAllocated;
};

Cost costOf(std::string head, std::uint64_t claimed) {
    ClaimingSource source(std::move(head), claimed);
    std::size_t before = g_allocated;
    g_peak = before;
    readDoc(source);
    return {source.bytesRead(), g_peak - before};
}

}  // namespace

void* operator new(std::size_t size) {
    auto* block = static_cast<char*>(std::malloc(size + kSizeField));
    if (!block)
        throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(block) = size;
    std::size_t now = g_allocated += size;
    for (std::size_t peak = g_peak; now > peak && !g_peak.compare_exchange_weak(peak, now);) {
    }
    return block + kSizeField;
}

void operator delete(void* memory) noexcept {
    if (!memory)
        return;
    char* block = static_cast<char*>(memory) - kSizeField;
    g_allocated -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}

void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete[](void* memory) noexcept {
    operator delete(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    operator delete(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    operator delete(memory);
}

TEST(CompoundFileBounds, readsLittleOfAFileWhoseChainsLoopAndWhoseSizesLie) {
    constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
    struct Case {
        unsigned sectorShift, miniShift;
        std::uint64_t streamSize, claimed;
    };
    const Case cases[] = {
        {9, 6, 100, kGiB},      // streams in the looping mini stream
        {9, 6, 1 << 20, kGiB},  // streams in looping regular chains
        {12, 6, 100, kGiB},     // the same with 4 KiB sectors
        {12, 6, 1 << 20, 1u << 28}, {9, 6, std::uint64_t{1} << 40, kGiB << 10},
        {9, 2, 100, kGiB},  // refused by the header check
    };
    for (const Case& test : cases) {
        LoopingCompoundFile file{test.sectorShift, test.miniShift, test.streamSize};
        Cost cost = costOf(file.head(), test.claimed);
        EXPECT_LE(cost.bytesRead, 64u << 10) << test.sectorShift << " " << test.streamSize;
        EXPECT_LE(cost.peakAllocated, 1u << 20) << test.sectorShift << " " << test.streamSize;
    }
}

TEST(CompoundFileBounds, readsOnlyTheHeadOfLongStreamsAndStillFindsTheirTitles) {
    std::string padding(3u << 20, 'x');
    std::string stream = propertySetStream(
        kSummaryFormatId, {{2, 30, std::string("\6\0\0\0Title\0", 10)}, {3, 30, padding}});
    std::string file = makeOleFile(
        {{"\005SummaryInformation", stream}, {"\005DocumentSummaryInformation", stream}});
    ClaimingSource source(file, file.size());
    std::size_t before = g_allocated;
    g_peak = before;
    auto properties = readDoc(source);
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->title, "Title");
    // Two streams cut to 1 MiB each, and the tables that lead to them.
    EXPECT_LE(source.bytesRead(), (2u << 20) + (64u << 10));
    EXPECT_LE(g_peak - before, 4u << 20);
}
