// Runs a fuzz target over saved inputs without libFuzzer, so that the normal
// build (g++, with or without sanitizers) replays the corpus on every test
// run. Arguments are files or directories; directories are walked
// recursively, and files are run in sorted order so that a failure is
// reproducible.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool ReadFile(const fs::path& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <file or directory>...\n", argv[0]);
        return 2;
    }
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg(argv[i]);
        std::error_code ec;
        if (fs::is_directory(arg, ec)) {
            for (const auto& entry : fs::recursive_directory_iterator(arg, ec))
                if (entry.is_regular_file()) inputs.push_back(entry.path());
        } else if (fs::is_regular_file(arg, ec)) {
            inputs.push_back(arg);
        }
        if (ec) {
            std::fprintf(stderr, "%s: %s\n", argv[i], ec.message().c_str());
            return 2;
        }
    }
    // An empty corpus would make the test pass without testing anything.
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs found\n");
        return 2;
    }
    std::sort(inputs.begin(), inputs.end());

    std::vector<std::uint8_t> bytes;
    for (const fs::path& path : inputs) {
        if (!ReadFile(path, bytes)) {
            std::fprintf(stderr, "%s: cannot read\n", path.c_str());
            return 2;
        }
        // A failing check aborts; naming the input first says which one.
        std::fprintf(stderr, "%s\n", path.c_str());
        // Copy into an allocation of exactly the input's size, as libFuzzer
        // does, so that AddressSanitizer sees any read past its end.
        std::vector<std::uint8_t> exact(bytes.begin(), bytes.end());
        LLVMFuzzerTestOneInput(exact.empty() ? nullptr : exact.data(), exact.size());
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    return 0;
}
