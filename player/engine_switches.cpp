#include "player/engine_switches.h"

#include <cstdlib>
#include <string_view>

namespace pagoro {

namespace {

constexpr char kChromiumFlags[] = "QTWEBENGINE_CHROMIUM_FLAGS";

// "--name=value" -> "--name"; a switch without a value is its own name.
std::string_view NameOf(std::string_view flag) { return flag.substr(0, flag.find('=')); }

std::string_view ValueOf(std::string_view flag) {
  const auto equals = flag.find('=');
  return equals == std::string_view::npos ? std::string_view() : flag.substr(equals + 1);
}

// The separator between the values of a switch whose values are joined, or
// '\0' for a switch the engine reads whole.
char JoinedWith(std::string_view name) {
  if (name == "--js-flags") return ' ';
  if (name == "--enable-features" || name == "--disable-features") return ',';
  return '\0';
}

// A flag as the engine's splitting gives it back: quoted when it holds a space.
std::string Quoted(const std::string& flag) {
  return flag.find(' ') == std::string::npos ? flag : '"' + flag + '"';
}

}  // namespace

std::vector<std::string> EngineSwitches() {
  return {
      // Ruffle's core is 14 MB of WebAssembly. Compile (and validate) each
      // function when it first runs instead of all of them before the first
      // frame, and leave the optimising compiler to the functions that stay
      // busy (a tiering budget 33 times V8's 1,800,000), so that it does not
      // compete with the start for the two processors of a small machine.
      // Compiling with the baseline compiler alone (--liftoff-only) starts
      // faster still but runs ActionScript 1.6 times slower.
      "--js-flags=--wasm-lazy-compilation --wasm-lazy-validation --wasm-tiering-budget=60000000",
      // The audio service runs in the program's own process rather than in
      // a process of its own.
      "--disable-features=AudioServiceOutOfProcess",
  };
}

std::vector<std::string> SplitChromiumFlags(const std::string& value) {
  std::vector<std::string> flags;
  std::string flag;
  bool quoted = false;
  bool inFlag = false;
  for (const char c : value) {
    if (c == '"') {
      quoted = !quoted;
      inFlag = true;
    } else if (c == ' ' && !quoted) {
      if (inFlag) flags.push_back(flag);
      flag.clear();
      inFlag = false;
    } else {
      flag += c;
      inFlag = true;
    }
  }
  if (!flag.empty()) flags.push_back(flag);
  return flags;
}

EngineLaunch PlanEngineLaunch(const std::string& program,
                              const std::optional<std::string>& chromium_flags,
                              const std::vector<std::string>& switches) {
  EngineLaunch launch;
  launch.arguments.push_back(program);
  if (!chromium_flags) {
    launch.arguments.emplace_back("--webEngineArgs");
    launch.arguments.insert(launch.arguments.end(), switches.begin(), switches.end());
    return launch;
  }
  std::vector<std::string> flags = SplitChromiumFlags(*chromium_flags);
  for (const std::string& ours : switches) {
    const std::string_view name = NameOf(ours);
    std::string* theirs = nullptr;
    for (std::string& flag : flags) {
      if (NameOf(flag) == name) theirs = &flag;  // the last one is the one read
    }
    if (!theirs) {
      flags.push_back(ours);
      continue;
    }
    const char separator = JoinedWith(name);
    const std::string_view theirValue = ValueOf(*theirs);
    if (separator == '\0' || theirValue.empty()) {
      if (separator != '\0') *theirs = ours;
      continue;  // the user's own setting of a switch read whole stands
    }
    *theirs = std::string(ours) + separator + std::string(theirValue);
  }
  std::string joined;
  for (const std::string& flag : flags) {
    if (!joined.empty()) joined += ' ';
    joined += Quoted(flag);
  }
  launch.chromium_flags = joined;
  return launch;
}

EngineArguments::EngineArguments(const char* program, const std::vector<std::string>& extra) {
  const char* flags = std::getenv(kChromiumFlags);
  std::vector<std::string> switches = EngineSwitches();
  switches.insert(switches.end(), extra.begin(), extra.end());
  EngineLaunch launch =
      PlanEngineLaunch(program ? program : "pagoro",
                       flags ? std::optional<std::string>(flags) : std::nullopt, switches);
  if (launch.chromium_flags) setenv(kChromiumFlags, launch.chromium_flags->c_str(), 1);
  arguments_ = std::move(launch.arguments);
  for (std::string& argument : arguments_) pointers_.push_back(argument.data());
  pointers_.push_back(nullptr);
  argc_ = static_cast<int>(arguments_.size());
}

}  // namespace pagoro
