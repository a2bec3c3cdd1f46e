// What the player page's shims assume of Ruffle (player/shims.md), seen in
// the real page while a movie plays: Ruffle asks the window for its
// animation frames, the navigator for gamepads, refills its audio buffers
// through their onended property, and colours device text through the SVG
// colour matrix the glyph drawing reads. Each failure names its assumption.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include "swf/movie.h"
#include "testing/test_movies.h"
#include "tests/player/player_harness.h"

namespace pagoro::testing {
namespace {

constexpr int kLoadTimeoutMs = 120000;
constexpr int kSignTimeoutMs = 60000;

// Counts, from now on, what Ruffle calls of the page: each hook wraps what
// the page's own scripts left and calls it.
const char kWatch[] = R"JS((() => {
  const seen = (window.contractSeen = { frames: 0, gamepads: 0, refills: 0, filters: [] });
  const frame = window.requestAnimationFrame;
  window.requestAnimationFrame = function (callback) {
    seen.frames++;
    return frame.call(window, callback);
  };
  const gamepads = Navigator.prototype.getGamepads;
  Navigator.prototype.getGamepads = function () {
    seen.gamepads++;
    return gamepads.call(this);
  };
  const ended = Object.getOwnPropertyDescriptor(AudioScheduledSourceNode.prototype, "onended");
  Object.defineProperty(AudioScheduledSourceNode.prototype, "onended", {
    configurable: true, get: ended.get,
    set(value) { if (value) seen.refills++; ended.set.call(this, value); },
  });
  const filter = Object.getOwnPropertyDescriptor(CanvasRenderingContext2D.prototype, "filter");
  Object.defineProperty(CanvasRenderingContext2D.prototype, "filter", {
    configurable: true, get: filter.get,
    set(value) {
      const text = String(value);
      if (!seen.filters.includes(text)) seen.filters.push(text);
      filter.set.call(this, value);
    },
  });
  return true;
})())JS";

// What the page saw, with the colour matrix's form and the movie's frame
// rate as the player element tells them.
const char kSeen[] = R"JS((() => {
  const seen = window.contractSeen;
  const player = document.querySelector("ruffle-player");
  const canvas = player && player.shadowRoot && player.shadowRoot.querySelector("canvas");
  const root = canvas ? canvas.getRootNode() : document;
  const filter = root.getElementById ? root.getElementById("_cm") : null;
  const matrix = filter && filter.children.length === 1 ? filter.children[0] : null;
  const space = (matrix && (matrix.getAttribute("color-interpolation-filters") ||
                            filter.getAttribute("color-interpolation-filters"))) || "";
  return JSON.stringify({
    frames: seen.frames, gamepads: seen.gamepads, refills: seen.refills, filters: seen.filters,
    frameRate: player && player.metadata ? Number(player.metadata.frameRate) : 0,
    colourMatrix: !!matrix && matrix.localName === "feColorMatrix" &&
      (matrix.getAttribute("type") || "matrix") === "matrix" && space.toLowerCase() === "srgb",
  });
})())JS";

QJsonObject Seen(PlayerHarness& h) {
  return QJsonDocument::fromJson(h.RunJs(kSeen).toString().toUtf8()).object();
}

std::string Broken(const char* assumption, const QJsonObject& seen) {
  return std::string("Ruffle contract broken: \"") + assumption +
         "\" (player/shims.md); the page saw " +
         QJsonDocument(seen).toJson(QJsonDocument::Compact).toStdString();
}

TEST(PlayerShimTest, RuffleUsesThePageAsItsShimsAssume) {
  PlayerHarness h;
  swf::TextMovieOptions options;
  options.movie = {.version = 8, .width = 640, .height = 480};
  options.text = "HELLO WORLD";
  options.color = {255, 209, 102, 255};
  options.font_height = 64;
  h.Load(h.WriteTempMovie(swf::TextMovie(options)));
  // Ruffle runs the movie; what it draws is not waited for here: a broken
  // assumption may keep it from drawing.
  ASSERT_TRUE(PlayerHarness::WaitUntil(
      [&] { return !h.LogLines().filter(QStringLiteral("movie loaded")).isEmpty(); },
      kLoadTimeoutMs));
  ASSERT_EQ(h.RunJs(kWatch), QVariant(true));

  // Every sign comes within a few frames; the wait ends at the last.
  QJsonObject seen;
  PlayerHarness::WaitUntil(
      [&] {
        seen = Seen(h);
        return seen["frames"].toInt() > 2 && seen["gamepads"].toInt() > 0 &&
               seen["refills"].toInt() > 1 &&
               seen["filters"].toArray().contains(QStringLiteral("url('#_cm')"));
      },
      kSignTimeoutMs);
  EXPECT_GT(seen["frames"].toInt(), 2) << Broken("frame stepping", seen);
  EXPECT_GT(seen["frameRate"].toDouble(), 0) << Broken("frame stepping", seen);
  EXPECT_GT(seen["gamepads"].toInt(), 0) << Broken("gamepad call", seen);
  EXPECT_GT(seen["refills"].toInt(), 1) << Broken("audio refill", seen);
  EXPECT_TRUE(seen["filters"].toArray().contains(QStringLiteral("url('#_cm')")))
      << Broken("glyph drawing", seen);
  EXPECT_TRUE(seen["colourMatrix"].toBool()) << Broken("glyph drawing", seen);
}

// The page's storage answers the whole Storage interface from the objects it
// keeps, as Ruffle's own save manager calls it: a missing object is null, a
// key the store would not keep is refused as over the quota, and the first
// such call is logged once.
TEST(PlayerShimTest, TheStorageReplacementAnswersTheStorageInterface) {
  PlayerHarness h;
  swf::TextMovieOptions options;
  options.movie = {.version = 8, .width = 320, .height = 240};
  options.text = "STORE";
  h.Load(h.WriteTempMovie(swf::TextMovie(options)));
  ASSERT_TRUE(PlayerHarness::WaitUntil(
      [&] { return !h.LogLines().filter(QStringLiteral("movie loaded")).isEmpty(); },
      kLoadTimeoutMs));
  const QJsonObject answers = QJsonDocument::fromJson(h.RunJs(R"JS((() => {
    const s = window.localStorage;
    let refused = "";
    try { s.setItem("no store's key", "x"); } catch (e) { refused = e.name; }
    s.removeItem("no such object");
    return JSON.stringify({
      length: typeof s.length, missing: s.getItem("no such object"), refused: refused,
      key: s.key(100000), again: s.getItem("no such object"), clear: typeof s.clear,
    });
  })())JS")
                                                          .toString()
                                                          .toUtf8())
                                  .object();
  EXPECT_EQ(answers["length"].toString(), QStringLiteral("number"));
  EXPECT_TRUE(answers["missing"].isNull());
  EXPECT_EQ(answers["refused"].toString(), QStringLiteral("QuotaExceededError"));
  EXPECT_TRUE(answers["key"].isNull());
  EXPECT_EQ(answers["clear"].toString(), QStringLiteral("function"));
  ASSERT_TRUE(PlayerHarness::WaitUntil(
      [&] { return !h.LogLines().filter(QStringLiteral("Ruffle called localStorage")).isEmpty(); },
      kSignTimeoutMs));
  EXPECT_EQ(h.LogLines().filter(QStringLiteral("Ruffle called localStorage")).size(), 1);
}

}  // namespace
}  // namespace pagoro::testing
