// Standalone driver for fuzz targets: replays every file of the corpus folders given on the
// command line (or files given directly), plus a set of generated inputs, through the target.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {
void RunFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}
} // namespace

int main(int argc, char** argv) {
    std::size_t files = 0;
    std::vector<std::vector<std::uint8_t>> seeds;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path p(argv[i]);
        std::error_code ec;
        if (std::filesystem::is_directory(p, ec)) {
            for (const auto& e : std::filesystem::directory_iterator(p, ec)) {
                if (!e.is_regular_file()) continue;
                RunFile(e.path());
                std::ifstream in(e.path(), std::ios::binary);
                seeds.emplace_back(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
                ++files;
            }
        } else if (std::filesystem::is_regular_file(p, ec)) {
            RunFile(p);
            ++files;
        }
    }
    // Mutations of the seeds: flipped, dropped and inserted bytes, fixed seed for repeatability.
    std::mt19937 rng(12345);
    for (int round = 0; round < 2000 && !seeds.empty(); ++round) {
        std::vector<std::uint8_t> v = seeds[rng() % seeds.size()];
        const int edits = 1 + static_cast<int>(rng() % 8);
        for (int e = 0; e < edits; ++e) {
            const unsigned kind = rng() % 3;
            if (kind == 0 && !v.empty())
                v[rng() % v.size()] = static_cast<std::uint8_t>(rng());
            else if (kind == 1 && !v.empty())
                v.erase(v.begin() + static_cast<long>(rng() % v.size()));
            else
                v.insert(v.begin() + static_cast<long>(v.empty() ? 0 : rng() % v.size()),
                         static_cast<std::uint8_t>(rng()));
        }
        LLVMFuzzerTestOneInput(v.data(), v.size());
    }
    std::printf("replayed %zu corpus files and 2000 mutations\n", files);
    return 0;
}
