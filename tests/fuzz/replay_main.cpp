// SPDX-License-Identifier: GPL-3.0-or-later
// Replays fuzzing inputs without libFuzzer: feeds every file named on the
// command line, and every file in every folder named there, to the
// target's LLVMFuzzerTestOneInput, in name order, once each.  ctest runs it
// on each target's corpus in every build (with g++ too), so the seeds and
// the inputs that once broke a reader stay regression tests.  A crash,
// an abort or a sanitizer finding ends it with a failure; the input being
// fed is named on standard output first.
#include <algorithm>
#if defined(__has_include)
#if __has_include(<sanitizer/lsan_interface.h>)
#include <sanitizer/lsan_interface.h>
#define LURNS_HAVE_LSAN_INTERFACE 1
#endif
#endif
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LURNS_FUZZ_ASAN 1
#endif
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const fs::path p(argv[i]);
    std::error_code ec;
    if (fs::is_directory(p, ec)) {
      for (const auto& e : fs::recursive_directory_iterator(p))
        if (e.is_regular_file()) inputs.push_back(e.path());
    } else if (fs::is_regular_file(p, ec)) {
      inputs.push_back(p);
    } else {
      std::fprintf(stderr, "no such input or folder: %s\n", argv[i]);
      return 2;
    }
  }
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs to replay\n");
    return 2;
  }
  std::sort(inputs.begin(), inputs.end());
  for (const fs::path& p : inputs) {
    std::printf("%s\n", p.c_str());
    std::fflush(stdout);
    std::ifstream f(p, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("replayed %zu inputs\n", inputs.size());
#if defined(LURNS_HAVE_LSAN_INTERFACE) && (defined(__SANITIZE_ADDRESS__) || defined(LURNS_FUZZ_ASAN))
  // Leaks are looked for now, while the target's application object is
  // still there: what it holds is no leak.  Once static objects go, Qt's
  // per-thread font cache is left behind, which the end-of-process check
  // would report (it does not run after this one).
  __lsan_do_leak_check();
#endif
  return 0;
}
