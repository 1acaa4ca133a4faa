// Runs a fuzz target over files and folders of inputs without libFuzzer: every seed and every
// kept crasher is replayed under the sanitizers as an ordinary test.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);

namespace {

int Replay(const std::filesystem::path& File) {
    std::ifstream In(File, std::ios::binary);
    const std::vector<char> Bytes((std::istreambuf_iterator<char>(In)),
                                  std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size());
    return 1;
}

} // namespace

int main(int Argc, char** Argv) {
    int Count = 0;
    for (int I = 1; I < Argc; ++I) {
        const std::filesystem::path Path(Argv[I]);
        if (std::filesystem::is_directory(Path)) {
            for (const auto& Entry : std::filesystem::recursive_directory_iterator(Path)) {
                if (Entry.is_regular_file()) {
                    Count += Replay(Entry.path());
                }
            }
        } else if (std::filesystem::is_regular_file(Path)) {
            Count += Replay(Path);
        }
    }
    std::printf("replayed %d inputs\n", Count);
    return Count > 0 ? 0 : 1;
}
