// What the player's page assumes of Ruffle's files (player/shims.md), checked
// against the Ruffle the build compiles in: each test is one assumption, and
// its failure names it. PAGORO_RUFFLE_CONTRACT_DIR, when set, checks another
// copy of Ruffle's files instead (a Ruffle to upgrade to).
#include <gtest/gtest.h>
#include <regex.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path RuffleDir() {
  const char* given = std::getenv("PAGORO_RUFFLE_CONTRACT_DIR");
  return given && *given ? fs::path(given) : fs::path(PAGORO_RUFFLE_DIR);
}

struct RuffleFile {
  std::string name;
  std::string text;
};

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The files in Ruffle's folder whose names start with `prefix` and end in `suffix`.
std::vector<RuffleFile> Files(const std::string& prefix, const std::string& suffix) {
  std::vector<RuffleFile> files;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(RuffleDir(), error)) {
    const std::string name = entry.path().filename().string();
    if (name.size() >= prefix.size() + suffix.size() && name.starts_with(prefix) &&
        name.ends_with(suffix)) {
      files.push_back({name, Read(entry.path())});
    }
  }
  return files;
}

// ruffle.js, the page's entry.
const RuffleFile& Entry() {
  static const RuffleFile entry{"ruffle.js", Read(RuffleDir() / "ruffle.js")};
  return entry;
}
// The cores' JavaScript glue, one per WebAssembly core: what the core calls
// in the page.
const std::vector<RuffleFile>& Glue() {
  static const std::vector<RuffleFile> glue = Files("core.ruffle.", ".js");
  return glue;
}
const std::vector<RuffleFile>& Cores() {
  static const std::vector<RuffleFile> cores = Files("", ".wasm");
  return cores;
}

// The matches of an extended regular expression (POSIX, with GNU's \b).
std::size_t Count(const std::string& text, const std::string& pattern) {
  regex_t re;
  if (regcomp(&re, pattern.c_str(), REG_EXTENDED) != 0) {
    ADD_FAILURE() << "bad pattern " << pattern;
    return 0;
  }
  std::size_t count = 0;
  regmatch_t match;
  const char* at = text.c_str();
  int flags = 0;
  while (regexec(&re, at, 1, &match, flags) == 0) {
    ++count;
    at += std::max<regoff_t>(match.rm_eo, 1);
    flags = REG_NOTBOL;
  }
  regfree(&re);
  return count;
}

bool Has(const std::string& text, const std::string& pattern) { return Count(text, pattern) > 0; }

// The failure message: the assumption by its name in player/shims.md.
std::string Broken(const std::string& assumption, const RuffleFile& file, const std::string& what) {
  return "Ruffle contract broken: \"" + assumption + "\" (player/shims.md): " + file.name + " " +
         what;
}

// A call of `method` with `count` arguments, each as the minifier writes
// it: a name, or a name wrapped in the glue's lookup of a JavaScript object
// (`We(_)`).
std::string CallOf(const std::string& method, int count) {
  constexpr const char* kArg = R"([[:alnum:]_$]+(\([[:alnum:]_$]+\))?)";
  std::string pattern = R"(\.)";
  pattern += method;
  pattern += R"(\()";
  for (int i = 0; i < count; ++i) {
    if (i > 0) pattern += ',';
    pattern += kArg;
  }
  pattern += R"(\))";
  return pattern;
}

class RuffleContractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(RuffleDir() / "ruffle.js")) << "no Ruffle in " << RuffleDir();
    ASSERT_EQ(Glue().size(), 2u) << "Ruffle's cores: one glue file each expected in "
                                 << RuffleDir();
    ASSERT_EQ(Cores().size(), 2u) << "two WebAssembly cores expected in " << RuffleDir();
  }
};

// host.js answers the page's storage as properties (get, set, delete, the
// list of keys), not through Storage's methods.
TEST_F(RuffleContractTest, StorageCalls) {
  const char* kName = "storage calls";
  for (const RuffleFile& glue : Glue()) {
    EXPECT_TRUE(Has(glue.text, R"(\.localStorage\b)"))
        << Broken(kName, glue, "no longer takes localStorage from the window");
    // Storage's clear() without arguments: WebGL's clear takes one.
    for (const char* method : {"getItem", "setItem", "removeItem", "key", "clear"}) {
      const std::string call =
          std::string(R"(\.)") + method + (method == std::string("clear") ? R"(\(\))" : R"(\()");
      EXPECT_FALSE(Has(glue.text, call))
          << Broken(kName, glue, std::string("calls Storage's ") + method + "()");
    }
  }
  // ruffle.js calls Storage's methods only in its save manager (4 getItem,
  // 2 setItem, 2 removeItem), which opens from its context menu, and the
  // page turns that menu off. Any other call reaches storage the page
  // doesn't answer that way.
  const RuffleFile& entry = Entry();
  EXPECT_EQ(Count(entry.text, R"(localStorage\.getItem\()"), 4u)
      << Broken(kName, entry, "calls localStorage.getItem() in new places");
  EXPECT_EQ(Count(entry.text, R"(localStorage\.setItem\()"), 2u)
      << Broken(kName, entry, "calls localStorage.setItem() in new places");
  EXPECT_EQ(Count(entry.text, R"(localStorage\.removeItem\()"), 2u)
      << Broken(kName, entry, "calls localStorage.removeItem() in new places");
  EXPECT_FALSE(Has(entry.text, R"(localStorage\.(key|clear|length)\b)"))
      << Broken(kName, entry, "uses localStorage's key(), clear() or length");
  EXPECT_TRUE(Has(entry.text, R"(\bcontextMenu:)"))
      << Broken(kName, entry, "has no contextMenu setting to turn the save manager off with");
}

// quiet-audio.js: the core makes its context with the page's AudioContext,
// plays buffer sources started at a time, and refills a buffer when it is
// told through the node's onended property that it has ended.
TEST_F(RuffleContractTest, AudioRefill) {
  const char* kName = "audio refill";
  for (const RuffleFile& glue : Glue()) {
    EXPECT_TRUE(Has(glue.text, R"(typeof AudioContext\?AudioContext:)"))
        << Broken(kName, glue, "no longer takes the page's AudioContext when it loads");
    EXPECT_TRUE(Has(glue.text, R"(\.createBufferSource\(\))"))
        << Broken(kName, glue, "no longer plays buffer sources");
    EXPECT_TRUE(Has(glue.text, CallOf("start", 1)))
        << Broken(kName, glue, "no longer starts a buffer at a given time");
    EXPECT_TRUE(Has(glue.text, R"(\.onended=)"))
        << Broken(kName, glue, "no longer learns through onended that a buffer has played");
    EXPECT_FALSE(Has(glue.text, R"(["']ended["'])"))
        << Broken(kName, glue, "listens for \"ended\" another way");
    for (const char* worklet : {"audioWorklet", "AudioWorkletNode", "createScriptProcessor"}) {
      EXPECT_FALSE(Has(glue.text, worklet))
          << Broken(kName, glue, std::string("mixes another way: ") + worklet);
    }
    for (const char* call : {R"(\.suspend\(\))", R"(\.resume\(\))", R"(\.currentTime\b)"}) {
      EXPECT_TRUE(Has(glue.text, call))
          << Broken(kName, glue, std::string("no longer uses ") + call);
    }
  }
}

// frame-pacer.js and canvas-repeat.js: the core asks the window for each
// animation frame at the time (so the page's replacement answers) and
// steps the movie from the time it is given; the player element tells the
// movie's frame rate.
TEST_F(RuffleContractTest, FrameStepping) {
  const char* kName = "frame stepping";
  for (const RuffleFile& glue : Glue()) {
    EXPECT_TRUE(Has(glue.text, CallOf("requestAnimationFrame", 1)))
        << Broken(kName, glue, "no longer asks the window for animation frames");
    EXPECT_TRUE(Has(glue.text, CallOf("cancelAnimationFrame", 1)))
        << Broken(kName, glue, "no longer cancels animation frames through the window");
    EXPECT_FALSE(
        Has(glue.text, R"((=|\(|,)requestAnimationFrame[,;)]|requestAnimationFrame\.bind)"))
        << Broken(kName, glue, "keeps its own reference to requestAnimationFrame");
  }
  const RuffleFile& entry = Entry();
  EXPECT_TRUE(Has(entry.text, R"("ruffle-player")"))
      << Broken(kName, entry, "no longer names its element ruffle-player");
  EXPECT_TRUE(Has(entry.text, R"(get metadata\(\))"))
      << Broken(kName, entry, "has no metadata on its element");
  EXPECT_TRUE(Has(entry.text, R"(metadata\??\.frameRate\b)"))
      << Broken(kName, entry, "has no frameRate in its metadata");
}

// canvas-repeat.js: device text is drawn glyph by glyph from an atlas
// canvas (drawImage with a source rectangle) through the filter
// url('#_cm'), one SVG filter of one sRGB feColorMatrix whose values the
// core sets before each glyph.
TEST_F(RuffleContractTest, GlyphDrawing) {
  const char* kName = "glyph drawing";
  const RuffleFile& entry = Entry();
  EXPECT_TRUE(Has(entry.text, R"(\bdeviceFontRenderer\b)"))
      << Broken(kName, entry, "has no deviceFontRenderer setting");
  for (const RuffleFile& glue : Glue()) {
    EXPECT_TRUE(Has(glue.text, R"(\.filter=)"))
        << Broken(kName, glue, "no longer sets the context's filter");
    EXPECT_TRUE(Has(glue.text, CallOf("drawImage", 9)))
        << Broken(kName, glue, "no longer draws part of an image (drawImage with 9 arguments)");
  }
  for (const RuffleFile& core : Cores()) {
    for (const char* word :
         {"url('#_cm')", "feColorMatrix", "color-interpolation-filters", "sRGB", "values"}) {
      EXPECT_NE(core.text.find(word), std::string::npos)
          << Broken(kName, core, std::string("no longer holds \"") + word + "\"");
    }
  }
}

// host.js: the core asks the navigator for gamepads at the time, so the
// page's getGamepads() answers.
TEST_F(RuffleContractTest, GamepadCall) {
  const char* kName = "gamepad call";
  for (const RuffleFile& glue : Glue()) {
    EXPECT_TRUE(Has(glue.text, R"(\.getGamepads\(\))"))
        << Broken(kName, glue, "no longer calls getGamepads() on the navigator");
    EXPECT_FALSE(Has(glue.text, R"(getGamepads\.bind|=navigator\.getGamepads[,;)])"))
        << Broken(kName, glue, "keeps its own reference to getGamepads");
  }
}

// fetch-shim.js: the core and ruffle.js fetch through the window's fetch at
// the time, so the page's replacement carries its loads.
TEST_F(RuffleContractTest, FetchLoads) {
  const char* kName = "fetch loads";
  for (const RuffleFile& glue : Glue()) {
    EXPECT_TRUE(Has(glue.text, CallOf("fetch", 1)))
        << Broken(kName, glue, "no longer fetches through the window");
    EXPECT_FALSE(Has(glue.text, R"(fetch\.bind|(=|\(|,)fetch[,;)])"))
        << Broken(kName, glue, "keeps its own reference to fetch");
  }
  const RuffleFile& entry = Entry();
  EXPECT_FALSE(Has(entry.text, R"(fetch\.bind|=fetch[,;])"))
      << Broken(kName, entry, "keeps its own reference to fetch");
}

// host.js: the player's interface it drives, and the page event on which
// the core writes the movie's shared objects.
TEST_F(RuffleContractTest, PlayerInterface) {
  const char* kName = "player interface";
  const RuffleFile& entry = Entry();
  for (const char* word : {"newest()", "createPlayer()", "addFSCommandHandler",
                           "callExternalInterface", "traceObserver", "\"loadeddata\""}) {
    EXPECT_NE(entry.text.find(word), std::string::npos)
        << Broken(kName, entry, std::string("no longer has ") + word);
  }
  for (const RuffleFile& core : Cores()) {
    EXPECT_NE(core.text.find("pagehide"), std::string::npos)
        << Broken(kName, core, "no longer writes shared objects on pagehide");
  }
}

}  // namespace
