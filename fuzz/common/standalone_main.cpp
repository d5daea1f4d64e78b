// Stand-in for libFuzzer when the compiler is not clang: replays every file given
// (or found in a given folder), then runs -runs=N mutated inputs built from them.
// Any crash or abort in the target fails the run, as it would under libFuzzer.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

using Bytes = std::vector<uint8_t>;

void addFile(const std::filesystem::path &path, std::vector<Bytes> &seeds)
{
    std::ifstream in(path, std::ios::binary);
    seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void mutate(Bytes &b, std::mt19937_64 &rng, const std::vector<Bytes> &seeds)
{
    auto pick = [&](size_t n) { return n ? size_t(rng() % n) : 0; };
    for (int m = 1 + int(rng() % 6); m > 0; --m) {
        switch (rng() % 6) {
        case 0: if (!b.empty()) b[pick(b.size())] = uint8_t(rng()); break;
        case 1: if (!b.empty()) b[pick(b.size())] ^= uint8_t(1u << (rng() % 8)); break;
        case 2: b.insert(b.begin() + long(pick(b.size() + 1)), uint8_t(rng())); break;
        case 3: if (!b.empty()) { const size_t at = pick(b.size()); b.erase(b.begin() + long(at), b.begin() + long(std::min(b.size(), at + 1 + pick(64)))); } break;
        case 4: { // splice a piece of another seed
            const Bytes &other = seeds[pick(seeds.size())];
            if (other.empty()) break;
            const size_t from = pick(other.size());
            const size_t len = std::min(other.size() - from, 1 + pick(256));
            b.insert(b.begin() + long(pick(b.size() + 1)), other.begin() + long(from), other.begin() + long(from + len));
            break;
        }
        default: { // a "magic" character of text formats
            static const char magic[] = ":0123456789ABCDEFabcdef \r\n\t\xff";
            if (!b.empty()) b[pick(b.size())] = uint8_t(magic[pick(sizeof magic - 1)]);
            break;
        }
        }
    }
    if (b.size() > (1u << 16))
        b.resize(1u << 16);
}

} // namespace

int main(int argc, char **argv)
{
    long runs = 100000;
    unsigned long seed = 1;
    std::vector<Bytes> seeds;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("-runs=", 0) == 0) {
            runs = std::stol(arg.substr(6));
        } else if (arg.rfind("-seed=", 0) == 0) {
            seed = std::stoul(arg.substr(6));
        } else if (std::filesystem::is_directory(arg)) {
            for (const auto &entry : std::filesystem::directory_iterator(arg))
                if (entry.is_regular_file())
                    addFile(entry.path(), seeds);
        } else if (!arg.empty() && arg[0] != '-') {
            addFile(arg, seeds);
        }
    }
    if (seeds.empty())
        seeds.emplace_back();
    for (const Bytes &s : seeds)
        LLVMFuzzerTestOneInput(s.data(), s.size());
    std::mt19937_64 rng(seed);
    for (long i = 0; i < runs; ++i) {
        Bytes b = seeds[size_t(rng() % seeds.size())];
        mutate(b, rng, seeds);
        LLVMFuzzerTestOneInput(b.data(), b.size());
    }
    std::printf("Done %ld runs over %zu seeds\n", runs, seeds.size());
    return 0;
}
