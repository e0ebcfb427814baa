// Replays the fuzzer's corpus (kept by scripts/fuzz) so every input it ever
// found interesting stays harmless.
#include <gtest/gtest.h>

#include <dirent.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

TEST(FuzzCorpus, EveryKeptInputRunsCleanly) {
    const std::string dir = std::string(KELPO_SOURCE_DIR) + "/tests/fuzz/corpus";
    DIR* d = opendir(dir.c_str());
    ASSERT_NE(d, nullptr);
    int count = 0;
    while (dirent* e = readdir(d)) {
        if (e->d_name[0] == '.') continue;
        std::ifstream in(dir + "/" + e->d_name, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(e->d_name);
        EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
        ++count;
    }
    closedir(d);
    EXPECT_GT(count, 0);
}

}  // namespace
