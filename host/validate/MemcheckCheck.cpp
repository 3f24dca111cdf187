// The module run under valgrind's memcheck, where it is installed: a read of
// memory never written (an uninitialised variable in Draw, say) or already
// freed shows there, and nowhere else. gamehost runs itself under valgrind
// for a few frames, and only errors in the module's own code count: Allegro's
// and the X library's are not the module's to fix.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Checks.h"
#include "DrivenGame.h"
#include "ProcessInfo.h"
#include "ScratchFolder.h"
#include "System.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFramesUnderMemcheck = 30;

// For the shell: in single quotes, each of its own closed and opened again.
std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// What lies between <tag> and </tag> from `from` on, or empty; `from` then
// points past it.
std::string Element(const std::string& xml, const std::string& tag, size_t& from,
                    size_t until = std::string::npos) {
  const size_t open = xml.find("<" + tag + ">", from);
  if (open == std::string::npos || open >= until) return "";
  const size_t start = open + tag.size() + 2;
  const size_t close = xml.find("</" + tag + ">", start);
  if (close == std::string::npos) return "";
  from = close + tag.size() + 3;
  return xml.substr(start, close - start);
}

std::string Unescaped(std::string text) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, character] : entities) {
    for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1)) {
      text.replace(at, std::string(entity).size(), character);
    }
  }
  return text;
}

// Each error of memcheck's XML report with a frame in the module's code, as
// "what, at function (file:line)".
std::vector<std::string> ModuleErrors(const std::string& xml, const std::string& module) {
  std::vector<std::string> errors;
  for (size_t at = 0;;) {
    const std::string error = Element(xml, "error", at);
    if (error.empty()) return errors;
    size_t in = 0;
    std::string what = Element(error, "what", in);
    if (what.empty()) {
      in = 0;
      const std::string described = Element(error, "xwhat", in);
      size_t inside = 0;
      what = Element(described, "text", inside);
    }
    for (size_t frameAt = 0;;) {
      const std::string frame = Element(error, "frame", frameAt);
      if (frame.empty()) break;
      size_t field = 0;
      if (Unescaped(Element(frame, "obj", field)) != module) continue;
      field = 0;
      std::string where = Unescaped(Element(frame, "fn", field));
      field = 0;
      const std::string file = Element(frame, "file", field);
      field = 0;
      const std::string line = Element(frame, "line", field);
      if (!file.empty()) where += " (" + Unescaped(file) + ":" + line + ")";
      errors.push_back(Unescaped(what) + ", at " + where);
      break;
    }
  }
}

}  // namespace

std::string Memcheck(const Subject& subject, Progress& progress) {
  if (!kMemoryJudged) {
    return "not run: this gamehost is built with AddressSanitizer, which valgrind can't run";
  }
  const std::string valgrind = FindProgram("valgrind");
  if (valgrind.empty()) {
    return "not run: valgrind is not installed here (on Debian: apt-get install valgrind), so "
           "reads of uninitialised memory went unchecked";
  }
  const ScratchFolder report;
  const std::string xml = (fs::u8path(report.Path()) / "memcheck.xml").u8string();
  const std::string command =
      Quoted(valgrind) + " --tool=memcheck --xml=yes --xml-file=" + Quoted(xml) +
      " --error-limit=no " + Quoted(ExecutablePath()) + " --validate --isolated-work " +
      Quoted(kFramesUnderMemcheckWork) + " --seed " + std::to_string(subject.seed) + " " +
      Quoted(subject.module) + " >/dev/null 2>&1";
  progress.Step("while the module ran under valgrind's memcheck");
  const int status = std::system(command.c_str());
  std::ifstream in(fs::u8path(xml));
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (text.find("</valgrindoutput>") == std::string::npos) {
    throw CheckFailure("valgrind's memcheck ended without its report (status " +
                       std::to_string(status) + ")");
  }
  std::error_code error;
  const fs::path module = fs::canonical(fs::u8path(subject.module), error);
  const std::vector<std::string> errors = ModuleErrors(text, module.u8string());
  if (!errors.empty()) {
    throw CheckFailure("memcheck found " + std::to_string(errors.size()) +
                       " error(s) in the module's code in Init, " +
                       std::to_string(kFramesUnderMemcheck) +
                       " frames and Shutdown; the first: " + errors.front() +
                       " (an uninitialised read gives a different answer on every machine)");
  }
  return "Init, " + std::to_string(kFramesUnderMemcheck) +
         " frames and Shutdown under valgrind's memcheck: no error in the module's code";
}

std::string FramesUnderMemcheck(const Subject& subject, Progress& progress) {
  auto module = LoadModule(subject.module, progress);
  DrivenGame game(*module, progress);
  game.SetPath(subject.module);
  if (game.Init()) {
    const Bitmap picture = NewPicture();
    MouseSequence mouse(subject.seed);
    game.Play(kFramesUnderMemcheck, mouse, picture.get());
  }
  game.Shutdown();
  game.Destroy();
  return std::to_string(kFramesUnderMemcheck) + " frames played";
}
