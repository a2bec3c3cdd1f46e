// The Chromium switches the player runs its web engine with, and how they
// reach the engine. Qt WebEngine reads switches from the program's arguments
// that follow "--webEngineArgs", but only while QTWEBENGINE_CHROMIUM_FLAGS is
// unset: when it is set (even empty), the engine reads that variable alone,
// so the switches go into it. Both happen before the QApplication exists.
//
//   EngineArguments engineArgs(argv[0]);
//   QApplication app(engineArgs.argc(), engineArgs.argv());
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pagoro {

// The switches, one "--name" or "--name=value" each.
std::vector<std::string> EngineSwitches();

// Where the switches go.
struct EngineLaunch {
  // For the QApplication: the program name first.
  std::vector<std::string> arguments;
  // The new value of QTWEBENGINE_CHROMIUM_FLAGS; only when it was set.
  std::optional<std::string> chromium_flags;
};

// Plans the launch for `switches`, given the variable's value (nullopt when
// it is unset). A switch the variable already holds is not repeated; for
// --js-flags, --enable-features and --disable-features, whose last
// occurrence is the only one the engine reads, the values are joined into
// the variable's own occurrence, ours first (for V8 the later flag wins), so
// that nothing the user set is lost.
EngineLaunch PlanEngineLaunch(const std::string& program,
                              const std::optional<std::string>& chromium_flags,
                              const std::vector<std::string>& switches);

// QTWEBENGINE_CHROMIUM_FLAGS split as the engine splits it: on spaces, a
// double quote starting or ending a stretch that keeps its spaces.
std::vector<std::string> SplitChromiumFlags(const std::string& value);

// Plans the launch of EngineSwitches() for this process, sets
// QTWEBENGINE_CHROMIUM_FLAGS when that is where they go, and holds the
// arguments for the QApplication, which keeps pointers to them: this object
// must outlive it.
class EngineArguments {
 public:
  // `extra`: switches of the program's own, after EngineSwitches().
  explicit EngineArguments(const char* program, const std::vector<std::string>& extra = {});
  EngineArguments(const EngineArguments&) = delete;
  EngineArguments& operator=(const EngineArguments&) = delete;

  int& argc() { return argc_; }
  char** argv() { return pointers_.data(); }

 private:
  std::vector<std::string> arguments_;
  std::vector<char*> pointers_;
  int argc_ = 0;
};

}  // namespace pagoro
