// Runs the fuzz target once on each input file given, or on every file in a
// folder given, without libFuzzer: the inputs that once found a fault,
// replayed by the test suite in every build.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const fs::path given = fs::absolute(argv[i]);
    if (!fs::is_directory(given)) {
      inputs.push_back(given);
      continue;
    }
    for (const auto& entry : fs::directory_iterator(given)) {
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
  }
  LLVMFuzzerInitialize(&argc, &argv);  // changes the working folder
  for (const fs::path& input : inputs) {
    std::ifstream file(input, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    if (!file) {
      std::fprintf(stderr, "can't read %s\n", input.string().c_str());
      return 1;
    }
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::printf("replayed %zu inputs\n", inputs.size());
  return inputs.empty() ? 1 : 0;
}
