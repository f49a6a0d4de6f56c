// Runs a fuzz target once on each file named, or in each folder named (its
// files in name order), without the fuzzer: the seed corpus and the kept
// crash inputs replayed as a test. A failed check aborts; a name that does
// not exist is passed over.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool Replay(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
    return false;
  }
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::printf("%s (%zu bytes)\n", path.string().c_str(), bytes.size());
  std::fflush(stdout);
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t replayed = 0;
  bool readable = true;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path named(argv[i]);
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::exists(named)) {
      // A target without kept crash inputs has no folder of them yet.
      std::printf("%s: none\n", named.string().c_str());
      continue;
    }
    if (std::filesystem::is_directory(named)) {
      for (const auto& entry : std::filesystem::directory_iterator(named))
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') files.push_back(entry.path());
      std::sort(files.begin(), files.end());
    } else {
      files.push_back(named);
    }
    for (const auto& file : files) {
      readable = Replay(file) && readable;
      ++replayed;
    }
  }
  std::printf("%zu inputs replayed\n", replayed);
  return readable && replayed > 0 ? 0 : 1;
}
