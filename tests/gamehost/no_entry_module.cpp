// A shared library that is not a game module: it has no GetPlugin.
extern "C" __attribute__((visibility("default"))) int NotAGame() {
  return 0;
}
