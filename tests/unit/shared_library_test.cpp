// What the loader and the module's file tell about a module, for the
// validator's words: the symbols that pin it, and the names of its code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SharedLibrary.h"

namespace {

std::string TestModule(const std::string& name) {
  return std::string(TEST_MODULES_DIR) + "/test_" + name + ".so";
}

// Built without the kit's flags, std::to_string's table is a unique symbol;
// built with them, nothing is.
TEST(SharedLibraryTest, PinningSymbolsAreTheFilesUniqueOnes) {
  const std::vector<std::string> pinning =
      SharedLibrary::PinningSymbols(TestModule("unique_symbol"));
  ASSERT_EQ(pinning.size(), 1u);
  EXPECT_NE(pinning[0].find("std::__detail::__to_chars_10_impl"), std::string::npos) << pinning[0];
  EXPECT_TRUE(SharedLibrary::PinningSymbols(TestModule("pinned")).empty());
  EXPECT_TRUE(SharedLibrary::PinningSymbols("/nonexistent.so").empty());
}

// An exported function by the loader's name, another by the file's symbol
// table (the module hides it), and an address of no library as itself.
TEST(SharedLibraryTest, CodeIsNamedByItsFunction) {
  SharedLibrary module(TestModule("good"));
  ASSERT_TRUE(module.Loaded()) << module.Error();
  const void* getPlugin = module.Symbol("GetPlugin");
  EXPECT_EQ(SharedLibrary::CodeAt(getPlugin), "GetPlugin in test_good.so");
  const std::string inside = SharedLibrary::CodeAt(static_cast<const char*>(getPlugin) + 1);
  EXPECT_EQ(inside, "GetPlugin in test_good.so") << "an address inside the function";
  const int onTheStack = 0;
  EXPECT_EQ(SharedLibrary::CodeAt(&onTheStack).rfind("0x", 0), 0u);
}

}  // namespace
