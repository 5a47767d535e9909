// Replays a fuzz target's seed corpus (folder KVT_CORPUS_DIR), each seed and every prefix of it,
// through its entry in the ordinary build.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

TEST(FuzzCorpus, SeedsRunClean) {
    const std::filesystem::path dir = KVT_CORPUS_DIR;
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (size_t n = 0; n <= data.size(); ++n)
            EXPECT_EQ(LLVMFuzzerTestOneInput(data.data(), n), 0) << entry.path() << " cut to " << n;
        ++files;
    }
    EXPECT_GE(files, 20u);
}
