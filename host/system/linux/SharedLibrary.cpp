#include "SharedLibrary.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <elf.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "ProcessInfo.h"

const char* const SharedLibrary::kLoadedWith = "RTLD_NOW | RTLD_LOCAL";
const char* const SharedLibrary::kUnloadCall = "dlclose";
const char* const SharedLibrary::kKeptBy =
    "a thread_local object with a destructor (the C library keeps its library until the thread "
    "that used it ends) or RTLD_NODELETE";
const char* const SharedLibrary::kKeepsAtEachLoad = "";

SharedLibrary::SharedLibrary(const std::string& path) : path_(path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    error_ = dlerror();
  } else if (dlinfo(handle_, RTLD_DI_LINKMAP, &linkMap_) != 0) {
    linkMap_ = nullptr;
  }
}

SharedLibrary::~SharedLibrary() {
  Close();
}

void* SharedLibrary::Symbol(const char* name) const {
  if (handle_ == nullptr) return nullptr;
  void* symbol = dlsym(handle_, name);
  // A symbol found in a library this one depends on is not this one's.
  return Holds(symbol) ? symbol : nullptr;
}

bool SharedLibrary::Holds(const void* address) const {
  Dl_info info;
  void* holder = nullptr;
  if (handle_ == nullptr || dladdr1(address, &info, &holder, RTLD_DL_LINKMAP) == 0) return false;
  return holder == linkMap_;
}

bool SharedLibrary::Close() {
  if (handle_ == nullptr) return !InProcess(path_);
  dlclose(handle_);
  handle_ = nullptr;
  return !InProcess(path_);
}

bool SharedLibrary::InProcess(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle == nullptr) return false;
  dlclose(handle);
  return true;
}

namespace {

std::string Demangled(const char* name) {
  int status = 0;
  char* readable = abi::__cxa_demangle(name, nullptr, nullptr, &status);
  std::string text = status == 0 && readable != nullptr ? readable : name;
  std::free(readable);
  return text;
}

// A symbol of an ELF file's symbol tables, as the report needs it.
struct FileSymbol {
  std::string name;  // as written, mangled
  uintptr_t value;   // from the library's base
  uintptr_t size;
  bool defined;
  bool unique;  // STB_GNU_UNIQUE
  bool dynamic;
};

// The symbols of the file's dynamic and static symbol tables, from an ELF
// file of one width (Header, Section, Symbol: its types).
template <typename Header, typename Section, typename Symbol>
std::vector<FileSymbol> ElfSymbols(const std::string& file) {
  std::vector<FileSymbol> found;
  auto at = [&](size_t offset, size_t size) {
    return offset <= file.size() && size <= file.size() - offset ? file.data() + offset : nullptr;
  };
  const auto* header = reinterpret_cast<const Header*>(at(0, sizeof(Header)));
  if (header == nullptr || header->e_shentsize != sizeof(Section)) return found;
  const auto* sections = reinterpret_cast<const Section*>(
      at(header->e_shoff, size_t(header->e_shnum) * sizeof(Section)));
  if (sections == nullptr) return found;
  for (size_t s = 0; s < header->e_shnum; ++s) {
    const Section& table = sections[s];
    const bool dynamic = table.sh_type == SHT_DYNSYM;
    if ((!dynamic && table.sh_type != SHT_SYMTAB) || table.sh_link >= header->e_shnum) continue;
    const Section& strings = sections[table.sh_link];
    const auto* symbols = reinterpret_cast<const Symbol*>(at(table.sh_offset, table.sh_size));
    const char* text = at(strings.sh_offset, strings.sh_size);
    if (symbols == nullptr || text == nullptr) continue;
    for (size_t i = 0; i < table.sh_size / sizeof(Symbol); ++i) {
      const Symbol& symbol = symbols[i];
      if (symbol.st_name == 0 || symbol.st_name >= strings.sh_size ||
          std::memchr(text + symbol.st_name, '\0', strings.sh_size - symbol.st_name) == nullptr) {
        continue;
      }
      found.push_back({text + symbol.st_name, uintptr_t(symbol.st_value), uintptr_t(symbol.st_size),
                       symbol.st_shndx != SHN_UNDEF, (symbol.st_info >> 4) == STB_GNU_UNIQUE,
                       dynamic});
    }
  }
  return found;
}

std::vector<FileSymbol> ReadSymbols(const std::string& path) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (file.size() < EI_NIDENT || file.compare(0, SELFMAG, ELFMAG) != 0) return {};
  return file[EI_CLASS] == ELFCLASS64 ? ElfSymbols<Elf64_Ehdr, Elf64_Shdr, Elf64_Sym>(file)
                                      : ElfSymbols<Elf32_Ehdr, Elf32_Shdr, Elf32_Sym>(file);
}

// The name of the function at `offset` from the library's base, from its
// file's symbol tables, read once a library (the loader knows only the
// exported names); empty when none covers it.
std::string FunctionAt(const std::string& library, uintptr_t offset) {
  // Each library's defined symbols by address, read when first asked: the
  // validator names the host's handlers after every call a module makes.
  static std::map<std::string, std::vector<FileSymbol>> read;
  auto known = read.find(library);
  if (known == read.end()) {
    std::vector<FileSymbol> symbols = ReadSymbols(library);
    symbols.erase(std::remove_if(symbols.begin(), symbols.end(),
                                 [](const FileSymbol& s) { return !s.defined || s.size == 0; }),
                  symbols.end());
    std::sort(symbols.begin(), symbols.end(),
              [](const FileSymbol& a, const FileSymbol& b) { return a.value < b.value; });
    known = read.emplace(library, std::move(symbols)).first;
  }
  const std::vector<FileSymbol>& symbols = known->second;
  auto after = std::upper_bound(symbols.begin(), symbols.end(), offset,
                                [](uintptr_t at, const FileSymbol& s) { return at < s.value; });
  // Symbols may overlap (aliases): the nearest few below are looked at.
  for (int tried = 0; after != symbols.begin() && tried < 8; ++tried) {
    const FileSymbol& symbol = *--after;
    if (offset - symbol.value < symbol.size) return Demangled(symbol.name.c_str());
  }
  return "";
}

}  // namespace

std::string SharedLibrary::CodeAt(const void* address) {
  Dl_info info{};
  char hex[32];
  std::snprintf(hex, sizeof hex, "%p", address);
  if (address == nullptr || dladdr(address, &info) == 0 || info.dli_fname == nullptr) return hex;
  const std::string library = std::filesystem::path(info.dli_fname).filename().string();
  if (info.dli_sname != nullptr && info.dli_saddr == address) {
    return Demangled(info.dli_sname) + " in " + library;
  }
  // The program itself is named as it was started, which may be relative.
  const std::string file =
      std::filesystem::path(info.dli_fname).is_absolute() ? info.dli_fname : ExecutablePath();
  const std::string function = FunctionAt(
      file, reinterpret_cast<uintptr_t>(address) - reinterpret_cast<uintptr_t>(info.dli_fbase));
  return (function.empty() ? std::string("code at ") + hex : function) + " in " + library;
}

std::vector<std::string> SharedLibrary::PinningSymbols(const std::string& path) {
  std::vector<std::string> names;
  for (const FileSymbol& symbol : ReadSymbols(path)) {
    if (symbol.unique && symbol.defined && symbol.dynamic) {
      names.push_back(Demangled(symbol.name.c_str()));
    }
  }
  return names;
}
