#include "SharedLibrary.h"

#include <dlfcn.h>

const char* const SharedLibrary::kLoadedWith = "RTLD_NOW | RTLD_LOCAL";
const char* const SharedLibrary::kUnloadCall = "dlclose";
const char* const SharedLibrary::kKeptBy =
    "a thread_local object with a destructor (the C library keeps its library until the thread "
    "that used it ends), STB_GNU_UNIQUE symbols (GCC makes them for static variables in inline "
    "functions and templates; build with -fno-gnu-unique) or RTLD_NODELETE";
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
