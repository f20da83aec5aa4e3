// A short, bounded fuzz run without libFuzzer: mutations of a few settings files, fed to the
// same target for the number of seconds given (default 3). The seed can be given second.

#include "tests/fuzz/FuzzTarget.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

const std::vector<std::string> Seeds = {
    "[PROGRAM]\r\nName=Tavimbo.exe\r\n\r\n[POSITION]\r\nTop=0x10\r\nLeft = -$1F\r\n"
    "State=2\r\n\r\n[MODE]\r\nCloseQuery=1\r\nSaveStatus=x7FFFFFFF\r\n",
    "; comment\r\nstray\r\n[a]\r\nk\r\n[A]\r\n=v\r\n[]\r\n[b] x\r\n",
    "\xEF\xBB\xBF[\xE8\xA8\xAD\xE5\xAE\x9A]\nk=\xE9\x80\x81\xF0\x9F\x98\x80\n",
    "\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0-\0"
    "2\0\x3D\xD8\x00\xDE"s,
    "\xFE\xFF\0[\0A\0]\0\n\0k\0=\0$\0F"s,
};

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
                                         "\xF4\x90\x80\x80"};

std::string Mutate(std::string input, std::mt19937_64& random) {
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
            input.insert(at, Seeds[below(Seeds.size())].substr(0, below(40)));
            break;
        }
    }
    return input;
}

} // namespace

int main(int argc, char** argv) {
    const long seconds = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 3;
    const auto seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20261209ull;
    std::mt19937_64 random(seed);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::vector<std::string> pool = Seeds;
    long runs = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        std::string input = Mutate(pool[random() % pool.size()], random);
        if (input.size() > 4096) {
            input.resize(4096);
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        if (pool.size() < 256) {
            pool.push_back(std::move(input));
        } else {
            pool[random() % pool.size()] = std::move(input);
        }
        ++runs;
    }
    std::printf("%ld inputs in %ld s, seed %llu: no fault\n", runs, seconds,
                static_cast<unsigned long long>(seed));
    return runs > 0 ? 0 : 1;
}
