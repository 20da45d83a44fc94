// The plain driver of the entry points: feeds every file named on the command
// line, or found directly in a folder named there, to LLVMFuzzerTestOneInput
// once. Any compiler builds it; a reader that breaks aborts the run. A folder
// that does not exist holds no inputs (an entry point without regressions).
#include "FuzzEntry.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

static bool replay(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // An empty input still gets a valid pointer, as libFuzzer gives it.
    uint8_t none = 0;
    LLVMFuzzerTestOneInput(bytes.empty() ? &none : bytes.data(), bytes.size());
    return true;
}

int main(int argc, char** argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path named(argv[i]);
        std::error_code error;
        if (!std::filesystem::exists(named, error))
            continue;
        if (std::filesystem::is_directory(named, error)) {
            for (const auto& entry : std::filesystem::directory_iterator(named, error)) {
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            }
        } else {
            files.push_back(named);
        }
    }
    std::sort(files.begin(), files.end());
    int failed = 0;
    for (const auto& file : files) {
        if (!replay(file)) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            ++failed;
        }
    }
    std::printf("%zu inputs replayed, %d unreadable\n", files.size(), failed);
    return failed == 0 && !files.empty() ? 0 : 1;
}
