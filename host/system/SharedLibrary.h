// A shared library loaded into this process: the one place that knows how
// the system loads code at run time.
#ifndef FLINTMOOR_HOST_SHAREDLIBRARY_H
#define FLINTMOOR_HOST_SHAREDLIBRARY_H

#include <string>
#include <vector>

class SharedLibrary {
 public:
  // Loads the file with every symbol bound now and none of them shared with
  // other libraries. Error() says why when it could not be loaded.
  explicit SharedLibrary(const std::string& path);
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  bool Loaded() const { return handle_ != nullptr; }
  const std::string& Error() const { return error_; }
  // The exported symbol, or null.
  void* Symbol(const char* name) const;
  // Whether an address lies in this library's code or data.
  bool Holds(const void* address) const;
  // Lets the library go; true when it really left the process.
  bool Close();

  // Whether a library of this file is in the process now.
  static bool InProcess(const std::string& path);

  // The code at an address in words, for reports: "OnInterrupt in
  // game.so" where the loader knows the function's name, else "code in
  // game.so", else the address.
  static std::string CodeAt(const void* address);

  // The names of the file's symbols that keep it loaded after it is let go
  // (GCC's STB_GNU_UNIQUE symbols), demangled; empty where the system has
  // none or the file can't be read.
  static std::vector<std::string> PinningSymbols(const std::string& path);

  // The system's own names, for reports: how a library is loaded, the call
  // that lets it go, what can keep it loaded after that, and what keeps
  // memory at every unload (the likely cause, or empty).
  static const char* const kLoadedWith;
  static const char* const kUnloadCall;
  static const char* const kKeptBy;
  static const char* const kKeepsAtEachLoad;

 private:
  std::string path_;
  void* handle_ = nullptr;
  void* linkMap_ = nullptr;  // the loader's record of it, to tell its addresses
  std::string error_;
};

#endif
