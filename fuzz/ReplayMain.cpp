// Runs a fuzz harness over every file of its corpus folder (or over the files named), so that each input
// that once crashed stays a regression test in the ordinary test run.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static void RunOne(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

int main(int argc, char** argv)
{
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& item : std::filesystem::recursive_directory_iterator(path))
                if (item.is_regular_file()) {
                    RunOne(item.path());
                    ++count;
                }
        } else if (std::filesystem::exists(path)) {
            RunOne(path);
            ++count;
        }
    }
    std::printf("replayed %d inputs\n", count);
    return 0;
}
