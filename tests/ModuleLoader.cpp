#include "ModuleLoader.h"

#include <dlfcn.h>

#include <stdexcept>

ModuleLoader::ModuleLoader(const std::string& modulePath) : path_(modulePath) {
  handle_ = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) throw std::runtime_error(std::string("dlopen: ") + dlerror());
  getPlugin_ = reinterpret_cast<GetPluginFunction>(dlsym(handle_, "GetPlugin"));
  if (getPlugin_ == nullptr) throw std::runtime_error("GetPlugin not exported");
}

ModuleLoader::~ModuleLoader() {
  if (handle_ != nullptr) dlclose(handle_);
}

bool ModuleLoader::Unload() {
  if (handle_ != nullptr) dlclose(handle_);
  handle_ = nullptr;
  getPlugin_ = nullptr;
  return !IsResident(path_);
}

bool ModuleLoader::IsResident(const std::string& modulePath) {
  void* handle = dlopen(modulePath.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle == nullptr) return false;
  dlclose(handle);
  return true;
}
