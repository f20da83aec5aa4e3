// A short, bounded fuzz run without libFuzzer: every file of a corpus folder is replayed, then
// mutations of them are fed to the same target for the number of seconds given (default 1).
// Arguments: CORPUS_FOLDER [SECONDS [SEED]].

#include "tests/fuzz/FuzzTarget.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// The input being tried, shown when a broken property aborts the run.
const std::string* current = nullptr;

extern "C" void ShowCurrentInput(int) {
    std::fputs("input:", stderr);
    for (unsigned char byte : *current) {
        std::fprintf(stderr, " %02X", byte);
    }
    std::fputs("\n", stderr);
    std::_Exit(1);
}

void Try(const std::string& input) {
    current = &input;
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

std::vector<std::string> ReadCorpus(const std::filesystem::path& folder) {
    std::vector<std::string> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream file(entry.path(), std::ios::binary);
        inputs.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    return inputs;
}

const std::vector<std::string> Tokens = {"[",
                                         "]",
                                         "=",
                                         ";",
                                         "\r\n",
                                         "\r",
                                         "\n",
                                         " ",
                                         "\t",
                                         "\0"s,
                                         "0x",
                                         "$",
                                         "x",
                                         "-",
                                         "+",
                                         "2147483648",
                                         "FFFFFFFF",
                                         "\xEF\xBB\xBF",
                                         "\xFF\xFE",
                                         "\xFE\xFF",
                                         "\xD8",
                                         "\xDC",
                                         "\xC3",
                                         "\xED\xA0\x80",
                                         "\xF4\x90\x80\x80",
                                         "\\",
                                         "/",
                                         ":",
                                         "\"",
                                         ".",
                                         "C:\\",
                                         "\\\\"};

std::string Mutate(std::string input, const std::vector<std::string>& seeds,
                   std::mt19937_64& random) {
    auto below = [&](std::size_t bound) {
        return bound == 0 ? std::size_t{0} : static_cast<std::size_t>(random() % bound);
    };
    const int steps = 1 + static_cast<int>(below(8));
    for (int step = 0; step < steps; ++step) {
        const std::size_t at = below(input.size() + 1);
        switch (below(6)) {
        case 0:
            if (at < input.size()) {
                input[at] = static_cast<char>(input[at] ^ (1 << below(8)));
            }
            break;
        case 1:
            input.insert(at, 1, static_cast<char>(below(256)));
            break;
        case 2:
            input.erase(at, below(16));
            break;
        case 3:
            input.insert(at, Tokens[below(Tokens.size())]);
            break;
        case 4:
            input.insert(at, input.substr(below(input.size() + 1), below(64)));
            break;
        default:
            input.insert(at, seeds[below(seeds.size())].substr(0, below(40)));
            break;
        }
    }
    return input;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER [SECONDS [SEED]]\n", argv[0]);
        return 2;
    }
    const std::vector<std::string> seeds = ReadCorpus(argv[1]);
    std::signal(SIGABRT, ShowCurrentInput);
    for (const std::string& input : seeds) {
        Try(input);
    }
    if (seeds.empty()) {
        std::fprintf(stderr, "no corpus in %s\n", argv[1]);
        return 1;
    }
    const long seconds = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 1;
    const auto seed = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 20261209ull;
    std::mt19937_64 random(seed);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::vector<std::string> pool = seeds;
    long runs = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        std::string input = Mutate(pool[random() % pool.size()], seeds, random);
        if (input.size() > 4096) {
            input.resize(4096);
        }
        Try(input);
        if (pool.size() < 256) {
            pool.push_back(std::move(input));
        } else {
            pool[random() % pool.size()] = std::move(input);
        }
        ++runs;
    }
    std::printf("%zu corpus files, then %ld mutations in %ld s, seed %llu: no fault\n",
                seeds.size(), runs, seconds, static_cast<unsigned long long>(seed));
    return 0;
}
