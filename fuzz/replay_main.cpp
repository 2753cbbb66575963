// A fuzz target's input function without libFuzzer, as a test: it runs over
// the seed files, over fixed mutations of each seed (bytes flipped, inserted,
// erased, repeated; dictionary tokens put in; the seed cut short) and over
// fixed random inputs. The same inputs every run, so a failure repeats.
//
//   fuzz_x_replay [-dict=FILE] [-mutations=N] SEED_FILE_OR_FOLDER...
//
// A target's checks abort on failure; this program then names the input that
// failed (its seed and mutation number) and writes it to ./replay-input.

#include <algorithm>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The tokens of a libFuzzer dictionary: one quoted string per line, with \\,
// \" and \xNN escapes; lines starting with # are comments.
std::vector<Bytes> readDictionary(const std::filesystem::path& path) {
    std::vector<Bytes> tokens;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        const std::size_t open = line.find('"');
        const std::size_t close = line.rfind('"');
        if (line.starts_with('#') || open == std::string::npos || close <= open)
            continue;
        Bytes token;
        for (std::size_t i = open + 1; i < close; ++i) {
            if (line[i] == '\\' && i + 1 < close && line[i + 1] == 'x' && i + 3 < close) {
                token.push_back(std::uint8_t(std::stoi(line.substr(i + 2, 2), nullptr, 16)));
                i += 3;
            } else if (line[i] == '\\' && i + 1 < close) {
                token.push_back(std::uint8_t(line[++i]));
            } else {
                token.push_back(std::uint8_t(line[i]));
            }
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

// One mutation of input, drawn from random.
Bytes mutate(Bytes input, const std::vector<Bytes>& dictionary, std::mt19937& random) {
    const auto pick = [&](std::size_t bound) { return std::size_t(random() % (bound + 1)); };
    const int steps = 1 + int(random() % 4);
    for (int step = 0; step < steps; ++step) {
        const std::size_t at = pick(input.size());
        switch (random() % 6) {
        case 0: // a byte changed
            if (!input.empty())
                input[at % input.size()] = std::uint8_t(random());
            break;
        case 1: // a byte put in
            input.insert(input.begin() + std::ptrdiff_t(at), std::uint8_t(random()));
            break;
        case 2: { // a run taken out
            const std::size_t length = std::min(pick(16), input.size() - at);
            input.erase(input.begin() + std::ptrdiff_t(at), input.begin() + std::ptrdiff_t(at + length));
            break;
        }
        case 3: { // a run repeated
            const std::size_t length = std::min(pick(32), input.size() - at);
            const Bytes run(input.begin() + std::ptrdiff_t(at), input.begin() + std::ptrdiff_t(at + length));
            input.insert(input.begin() + std::ptrdiff_t(at), run.begin(), run.end());
            break;
        }
        case 4: // a dictionary token put in
            if (!dictionary.empty()) {
                const Bytes& token = dictionary[random() % dictionary.size()];
                input.insert(input.begin() + std::ptrdiff_t(at), token.begin(), token.end());
            }
            break;
        default: // cut short
            input.resize(at);
            break;
        }
    }
    return input;
}

// The input running and what it is, for the report of a failing one.
Bytes currentInput;
std::string currentName;

void run(Bytes input, std::string name) {
    currentInput = std::move(input);
    currentName = std::move(name);
    LLVMFuzzerTestOneInput(currentInput.data(), currentInput.size());
}

// A target's failed check aborts: name the input and keep it in a file, so
// that it can be replayed alone (or given to the libFuzzer build).
[[noreturn]] void reportFailingInput(int signal) {
    std::fprintf(stderr, "signal %d on %s (written to replay-input)\n", signal, currentName.c_str());
    if (std::FILE* out = std::fopen("replay-input", "wb")) {
        std::fwrite(currentInput.data(), 1, currentInput.size(), out);
        std::fclose(out);
    }
    std::_Exit(1);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> seeds;
    std::vector<Bytes> dictionary;
    int mutations = 1000;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("-dict="))
            dictionary = readDictionary(std::string(arg.substr(6)));
        else if (arg.starts_with("-mutations="))
            mutations = std::atoi(std::string(arg.substr(11)).c_str());
        else if (std::filesystem::is_directory(arg))
            for (const auto& entry : std::filesystem::directory_iterator(arg))
                seeds.push_back(entry.path());
        else
            seeds.emplace_back(arg);
    }
    std::sort(seeds.begin(), seeds.end());
    for (const int signal : {SIGABRT, SIGSEGV, SIGFPE, SIGBUS})
        std::signal(signal, reportFailingInput);

    std::mt19937 random(932);
    run({}, "the empty input");
    for (const std::filesystem::path& seed : seeds) {
        const Bytes bytes = readFile(seed);
        run(bytes, seed.string());
        for (int n = 0; n < mutations; ++n)
            run(mutate(bytes, dictionary, random), seed.string() + " mutation " + std::to_string(n));
    }
    for (int n = 0; n < 100; ++n) {
        Bytes bytes(random() % 512);
        for (std::uint8_t& b : bytes)
            b = std::uint8_t(random());
        run(bytes, "random input " + std::to_string(n));
    }
    std::printf("%zu seeds, %d mutations each, 100 random inputs: no check failed\n", seeds.size(),
                mutations);
    return 0;
}
