// Replays fuzz inputs without libFuzzer: every regular file below the given
// folders, once with each reader selector, plus a bounded set of
// pseudo-random inputs. Exit status 0 when nothing crashed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    int inputs = 0;
    for (int a = 1; a < argc; ++a) {
        for (const auto& e : fs::recursive_directory_iterator(argv[a])) {
            if (!e.is_regular_file())
                continue;
            std::ifstream in(e.path(), std::ios::binary);
            std::vector<uint8_t> body((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
            for (uint8_t sel = 0; sel < 5; ++sel) {
                std::vector<uint8_t> input(body.size() + 1);
                input[0] = sel;
                std::copy(body.begin(), body.end(), input.begin() + 1);
                LLVMFuzzerTestOneInput(input.data(), input.size());
                ++inputs;
            }
        }
    }
    std::mt19937 rng(20261206);
    for (int i = 0; i < 2000; ++i) {
        std::vector<uint8_t> input(1 + rng() % 600);
        for (uint8_t& b : input)
            b = static_cast<uint8_t>(rng() % 4 == 0 ? "|# \n0123456789"[rng() % 14] : rng() % 256);
        LLVMFuzzerTestOneInput(input.data(), input.size());
        ++inputs;
    }
    std::printf("replayed %d inputs\n", inputs);
    return 0;
}
