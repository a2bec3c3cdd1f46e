// How values reach a movie in the player, with the real web engine and
// Ruffle: probe movies made by the movie writer, some also played unpatched
// in the same page, so that what they can see of the player is compared.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <utility>

#include "player/movie_scheme.h"
#include "swf/actions.h"
#include "swf/movie.h"
#include "testing/test_movies.h"
#include "tests/player/player_harness.h"

namespace pagoro::testing {
namespace {

using swf::ActionBuilder;

// Bounds of the waits for a sign: generous, for a busy machine (a passing
// test never waits them out). The speed tests keep their own limits.
constexpr int kLoadTimeoutMs = 120000;
constexpr int kSignTimeoutMs = 60000;
constexpr auto kEnumerate2 = static_cast<swf::Op>(0x55);

QByteArray Bytes(const swf::Bytes& b) {
  return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
}

// fscommand(command, value), the value pushed by `value`.
void Report(ActionBuilder& a, const std::string& command,
            const std::function<void(ActionBuilder&)>& value) {
  a.Push(std::string(swf::kFsCommandPrefix) + command);
  value(a);
  a.GetUrl2(0);
}

// Pushes the global object in every version (movies before 6 have no
// _global): (function () { return this; }).call(undefined).
void PushGlobal(ActionBuilder& a) {
  ActionBuilder self;
  self.Push("this").GetVariable().Return();
  a.PushUndefined().DefineFunction("", {}, self).CallMethod("call", 1);
}

// for (n in object) list += n + ","; the object pushed by `object`.
void Enumerate(ActionBuilder& a, const std::string& list,
               const std::function<void(ActionBuilder&)>& object) {
  a.Push(list).Push("").SetVariable();
  object(a);
  a.Do(kEnumerate2);
  const auto loop = a.NewLabel();
  const auto done = a.NewLabel();
  a.Bind(loop).StoreRegister(0).PushNull().Equals2().If(done);
  a.Push(list).Push(list).GetVariable().PushRegister(0).Add2().Push(",").Add2().SetVariable();
  a.Jump(loop).Bind(done);
}

void PushRoot(ActionBuilder& a) { a.Push("_root").GetVariable(); }

// _root[name] = function (params) { body }
void DefineOnRoot(ActionBuilder& a, const std::string& name, const std::vector<std::string>& params,
                  const ActionBuilder& body) {
  PushRoot(a);
  a.Push(name).DefineFunction("", params, body).SetMember();
}

// A movie that reports what it can see of its host on its 48th frame (two
// seconds after it starts, time for a value set as it starts to arrive): its
// interval ids, the names in _root and in the global object, the "flash"
// package, its byte counts and how often its onData ran.
swf::Bytes VisibilityProbe(int version) {
  swf::MovieBuilder movie({.version = version, .width = 320, .height = 240, .frame_rate = 24});
  movie.Add(swf::SetBackgroundColor({255, 255, 255}));
  ActionBuilder count;
  count.Push("data_calls").Push("data_calls").GetVariable().Push(1).Add2().SetVariable();
  ActionBuilder nothing;
  ActionBuilder first;
  first.Push("data_calls").Push(0).SetVariable();
  DefineOnRoot(first, "onData", {}, count);
  for (const char* id : {"i1", "i2"}) {
    first.Push(id)
        .Push(100000)
        .DefineFunction("", {}, nothing)
        .CallFunction("setInterval", 2)
        .SetVariable();
  }
  first.FsCommand("ready", "");
  movie.Add(swf::DoAction(first.Finish())).Add(swf::ShowFrame());
  for (int i = 0; i < 46; ++i) movie.Add(swf::ShowFrame());
  ActionBuilder report;
  Report(report, "ids", [](ActionBuilder& a) {
    a.Push("i1").GetVariable().Push(",").Add2().Push("i2").GetVariable().Add2();
  });
  Enumerate(report, "root_names", PushRoot);
  Report(report, "root", [](ActionBuilder& a) { a.Push("root_names").GetVariable(); });
  Enumerate(report, "global_names", PushGlobal);
  Report(report, "global", [](ActionBuilder& a) { a.Push("global_names").GetVariable(); });
  Report(report, "flash",
         [](ActionBuilder& a) { a.Push("flash").GetVariable().Do(swf::Op::kTypeOf); });
  Report(report, "bytes", [](ActionBuilder& a) {
    PushRoot(a);
    a.CallMethod("getBytesTotal", 0).Push(",").Add2();
    PushRoot(a);
    a.CallMethod("getBytesLoaded", 0).Add2();
  });
  Report(report, "ondata", [](ActionBuilder& a) { a.Push("data_calls").GetVariable(); });
  report.Stop();
  movie.Add(swf::DoAction(report.Finish())).Add(swf::ShowFrame());
  return movie.Finish();
}

QVariant RunJs(PlayerHarness& h, const QString& script) { return h.RunJs(script, kSignTimeoutMs); }

// Plays the movie file unpatched, in a second Ruffle player of the same page
// and configuration, until it raises `last`; returns its fscommand calls.
std::map<std::string, std::string> PlayUnpatched(PlayerHarness& h, const QString& path,
                                                 const QString& last) {
  const QString url = MovieScheme::FileUrl(path.toStdString()).toString(QUrl::FullyEncoded);
  RunJs(h,
        "(() => { const p = window.RufflePlayer.newest().createPlayer(); p.id = 'unpatched';"
        " p.style.position = 'absolute'; p.style.left = '0'; p.style.top = '0';"
        " document.body.appendChild(p); window.unpatchedCalls = [];"
        " p.ruffle().addFSCommandHandler((c, a) => { window.unpatchedCalls.push([String(c), "
        "String(a)]); });"
        " p.ruffle().load({ url: '" +
            url + "' }); })()");
  std::map<std::string, std::string> calls;
  PlayerHarness::WaitUntil(
      [&] {
        const QJsonArray got =
            QJsonDocument::fromJson(
                RunJs(h, "JSON.stringify(window.unpatchedCalls)").toString().toUtf8())
                .array();
        calls.clear();
        for (const auto& c : got)
          calls[c.toArray()[0].toString().toStdString()] = c.toArray()[1].toString().toStdString();
        return calls.count(last.toStdString()) > 0;
      },
      kLoadTimeoutMs);
  RunJs(h, "document.getElementById('unpatched').remove()");
  return calls;
}

std::map<std::string, std::string> LastCalls(const PlayerHarness& h) {
  std::map<std::string, std::string> calls;
  for (const Call& c : h.calls()) calls[c.command.toStdString()] = c.args.toStdString();
  return calls;
}

// What a movie can see of the player is what it sees unpatched: interval
// ids, the names in _root and the global object, the hidden "flash"
// package, onData calls (none, though a value was delivered). Only the byte
// count differs, by the receiver's action.
TEST(PlayerDeliveryTest, TheMovieSeesWhatItSeesUnpatched) {
  PlayerHarness h;
  for (int version : {5, 6, 7, 8, 10}) {
    SCOPED_TRACE("SWF " + std::to_string(version));
    const swf::Bytes movie = VisibilityProbe(version);
    h.ClearCalls();
    h.Load(h.WriteTempMovie(movie));
    ASSERT_NE(h.WaitForCall("ready", kLoadTimeoutMs), nullptr);
    h.player().SetVariable(u"TempPath", h.asset_folder().toStdU16String());
    ASSERT_NE(h.WaitForCall("ondata", kSignTimeoutMs), nullptr);
    std::map<std::string, std::string> patched = LastCalls(h);
    h.player().Movie("");
    h.player().Play();

    const QString path = h.WriteAsset("probe.swf", Bytes(movie));
    const std::map<std::string, std::string> unpatched = PlayUnpatched(h, path, "ondata");
    ASSERT_EQ(unpatched.count("ondata"), 1u);

    // The delivered value is the one name the movie has more.
    const std::string delivered = "TempPath,";
    const auto at = patched["root"].find(delivered);
    ASSERT_NE(at, std::string::npos) << patched["root"];
    patched["root"].erase(at, delivered.size());
    for (const char* what : {"ids", "root", "global", "flash", "ondata"}) {
      EXPECT_EQ(patched[what], unpatched.at(what)) << what;
    }
    EXPECT_EQ(patched["ids"], "1,2");
    EXPECT_EQ(patched["ondata"], "0");
    std::printf("SWF %d: getBytesTotal,getBytesLoaded %s in the player, %s unpatched\n", version,
                patched["bytes"].c_str(), unpatched.at("bytes").c_str());
  }
}

// A two-frame main timeline that, on every pass, clears intervals 0-99,
// watches TempPath, binds a text field to it and asks for it, then reports
// the field's text: every answer fires the watch once, however many passes
// the timeline has made.
swf::Bytes LoopingAsker(int version, double frame_rate = 24) {
  swf::MovieBuilder movie(
      {.version = version, .width = 320, .height = 240, .frame_rate = frame_rate});
  movie.Add(swf::SetBackgroundColor({255, 255, 255}));
  ActionBuilder first;
  for (int i = 0; i < 100; ++i) first.Push(i).CallFunction("clearInterval", 1).Pop();
  ActionBuilder watcher;
  Report(watcher, "watch", [](ActionBuilder& a) { a.Push("now").GetVariable(); });
  watcher.Push("now").GetVariable().Return();
  first.DefineFunction("", {"prop", "old", "now"}, watcher).Push("TempPath");
  PushRoot(first);
  first.CallMethod("watch", 2).Pop();
  first.Push(40).Push(300).Push(0).Push(0).Push(1).Push("field");
  PushRoot(first);
  first.CallMethod("createTextField", 6).Pop();
  PushRoot(first);
  first.Push("field").GetMember().Push("variable").Push("TempPath").SetMember();
  first.FsCommand("outcommand", "SetTempPath");
  movie.Add(swf::DoAction(first.Finish())).Add(swf::ShowFrame());
  ActionBuilder second;
  Report(second, "field", [](ActionBuilder& a) {
    PushRoot(a);
    a.Push("field").GetMember().Push("text").GetMember();
  });
  second.GotoFrame(0).Play();
  movie.Add(swf::DoAction(second.Finish())).Add(swf::ShowFrame());
  return movie.Finish();
}

// Answers each of the looping movie's questions with a new path; `answers`
// counts them.
void AnswerEachQuestion(PlayerHarness& h, int& answers) {
  QObject::connect(
      &h.player(), &TShockwaveFlash::FSCommand, [&](const QString& command, const QString&) {
        if (command != "outcommand") return;
        ++answers;
        h.player().SetVariable(u"TempPath",
                               (h.asset_folder() + QString::number(answers)).toStdU16String());
      });
}

// However slowly the loop runs, each pass sees an answer of its own and the
// bound field shows them; also at 120 frames a second, faster than the
// display refreshes, where the page runs frames between refreshes. (How
// many arrive in a given time is measured by PlayerSpeedTest.)
TEST(PlayerDeliveryTest, ALoopingMovieThatClearsIntervalsGetsEveryAnswerOnce) {
  PlayerHarness h;
  int answers = 0;
  AnswerEachQuestion(h, answers);
  for (const auto& [version, rate] :
       {std::pair{6, 24.0}, std::pair{8, 24.0}, std::pair{8, 120.0}}) {
    SCOPED_TRACE("SWF " + std::to_string(version) + " at " + std::to_string(rate) + " fps");
    h.ClearCalls();
    answers = 0;
    h.Load(h.WriteTempMovie(LoopingAsker(version, rate)));
    ASSERT_NE(h.WaitForCall("watch", kLoadTimeoutMs), nullptr);
    const int wanted = answers + 24;
    ASSERT_TRUE(PlayerHarness::WaitUntil(
        [&] { return answers >= wanted && h.CallsOf("watch").size() >= 24; }, 120000))
        << answers << " answers, " << h.CallsOf("watch").size() << " watches";
    // Each watch saw a new answer.
    std::vector<QString> seen;
    for (const Call& c : h.CallsOf("watch")) seen.push_back(c.args);
    EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end());
    // The bound field shows the answers.
    const std::vector<Call> fields = h.CallsOf("field");
    ASSERT_FALSE(fields.empty());
    EXPECT_TRUE(fields.back().args.startsWith(h.asset_folder()))
        << fields.back().args.toStdString();
  }
}

// Twelve passes a second: in two runs of four seconds the watch count
// follows the answers.
TEST(PlayerSpeedTest, ALoopingMovieGetsItsAnswersInStep) {
  PlayerHarness h;
  int answers = 0;
  AnswerEachQuestion(h, answers);
  for (int version : {6, 8}) {
    SCOPED_TRACE("SWF " + std::to_string(version));
    h.ClearCalls();
    answers = 0;
    h.Load(h.WriteTempMovie(LoopingAsker(version)));
    ASSERT_NE(h.WaitForCall("watch", kLoadTimeoutMs), nullptr);
    const std::size_t start = h.CallsOf("watch").size();
    const int answers_at_start = answers;
    PlayerHarness::WaitUntil([] { return false; }, 4000);
    const std::size_t middle = h.CallsOf("watch").size();
    const int answers_at_middle = answers;
    PlayerHarness::WaitUntil([] { return false; }, 4000);
    const std::size_t end = h.CallsOf("watch").size();
    const int answers_at_end = answers;
    std::printf("SWF %d: %d answers, %zu watches in the first 4 s; %d, %zu in the next 4 s\n",
                version, answers_at_middle - answers_at_start, middle - start,
                answers_at_end - answers_at_middle, end - middle);
    // Counted from the first watch: the movie before may still have had
    // commands on their way, answered too late for it. At either end of
    // the count a few answers are on their way (a third of a second).
    const auto answered = static_cast<std::size_t>(answers_at_end - answers_at_start);
    constexpr std::size_t kUnderway = 4;
    EXPECT_GT(answers_at_end - answers_at_middle, 20);
    EXPECT_LE(end - start, answered + kUnderway);
    EXPECT_GE(end - start + kUnderway, answered);
  }
}

// A movie asking for TempPath every fourth frame and reporting, in the
// first frame that sees it, how many frames after asking that was.
swf::Bytes AnswerDelayProbe(double frame_rate) {
  swf::MovieBuilder movie({.version = 8, .width = 320, .height = 240, .frame_rate = frame_rate});
  movie.Add(swf::SetBackgroundColor({255, 255, 255}));
  ActionBuilder first;
  first.Push("f").Push(0).SetVariable().Push("asked").Push(0).SetVariable();
  movie.Add(swf::DoAction(first.Finish())).Add(swf::ShowFrame());
  ActionBuilder each;
  each.Push("f").Push("f").GetVariable().Push(1).Add2().SetVariable();
  const auto not_seen = each.NewLabel();
  each.Push("TempPath").GetVariable().PushUndefined().Equals2().If(not_seen);
  Report(each, "seen", [](ActionBuilder& a) {
    a.Push("f").GetVariable().Push("asked").GetVariable().Do(swf::Op::kSubtract);
  });
  each.Push("TempPath").PushUndefined().SetVariable();
  each.Bind(not_seen);
  const auto no_ask = each.NewLabel();
  each.Push("f").GetVariable().Push(4).Do(swf::Op::kModulo).Push(0).Equals2().Not().If(no_ask);
  each.Push("asked").Push("f").GetVariable().SetVariable();
  each.FsCommand("outcommand", "SetTempPath");
  each.Bind(no_ask);
  movie.Add(swf::DoAction(each.Finish())).Add(swf::ShowFrame());
  ActionBuilder loop;
  loop.GotoFrame(1).Play();
  movie.Add(swf::DoAction(loop.Finish())).Add(swf::ShowFrame());
  return movie.Finish();
}

// Answered the moment the command arrives, as the reader's protocol does:
// the movie sees the value in the frame after the one that asked, when the
// machine keeps up with the frame rate (a speed test: on a busy machine the
// answer comes a frame or more later).
TEST(PlayerSpeedTest, AnAnswerIsSeenInTheNextFrame) {
  PlayerHarness h;
  QObject::connect(&h.player(), &TShockwaveFlash::FSCommand,
                   [&](const QString& command, const QString&) {
                     if (command == "outcommand")
                       h.player().SetVariable(u"TempPath", h.asset_folder().toStdU16String());
                   });
  for (double rate : {12.0, 24.0, 30.0}) {
    SCOPED_TRACE(std::to_string(rate) + " fps");
    h.ClearCalls();
    h.Load(h.WriteTempMovie(AnswerDelayProbe(rate)));
    constexpr std::size_t kAnswers = 15;
    ASSERT_NE(h.WaitForCall("seen", kLoadTimeoutMs, kAnswers), nullptr);
    std::map<int, int> histogram;
    std::vector<int> delays;
    // The first answer may wait for the page's first contact with the movie.
    for (const Call& c : h.CallsOf("seen")) delays.push_back(c.args.toInt());
    delays.erase(delays.begin());
    for (int d : delays) ++histogram[d];
    std::string text;
    for (const auto& [frames, n] : histogram)
      text += " " + std::to_string(n) + "x" + std::to_string(frames);
    std::printf("answer delay at %.0f fps, in frames after the asking one:%s\n", rate,
                text.c_str());
    std::sort(delays.begin(), delays.end());
    EXPECT_EQ(delays[delays.size() / 2], 1);
  }
}

TEST(PlayerDeliveryTest, LzmaMoviesGetTheirValuesAndLoadLzmaPages) {
  PlayerHarness h;
  for (int version : {6, 8}) {
    SCOPED_TRACE("SWF " + std::to_string(version));
    h.ClearCalls();
    const swf::Bytes page =
        swf::LzmaCompressMovie(swf::FsCommandMovie({.version = version}, {{"page", "lzma"}}));
    const QString page_path = h.WriteAsset("页.swf", Bytes(page));
    swf::MovieBuilder movie({.version = version, .width = 320, .height = 240, .frame_rate = 30});
    movie.Add(swf::SetBackgroundColor({255, 255, 255}));
    movie.Add(swf::DoAction(ActionBuilder().FsCommand("ready", "").Finish())).Add(swf::ShowFrame());
    ActionBuilder watch = swf::EchoVariables({"TempPath", "incommand"});
    const auto no_path = watch.NewLabel();
    // Once TempPath is known, load the page from there into level 1.
    watch.Push("path").GetVariable().PushUndefined().Equals2().If(no_path);
    watch.Push("path").GetVariable().Push("页.swf").Add2().Push("_level1").GetUrl2(0);
    watch.Push("path").PushUndefined().SetVariable();
    watch.Bind(no_path);
    movie.Add(swf::DoAction(watch.Finish())).Add(swf::ShowFrame());
    movie.Add(swf::DoAction(ActionBuilder().GotoFrame(1).Play().Finish())).Add(swf::ShowFrame());
    // EchoVariables clears TempPath; the page load reads "path".
    h.Load(h.WriteTempMovie(swf::LzmaCompressMovie(movie.Finish())));
    ASSERT_NE(h.WaitForCall("ready", kLoadTimeoutMs), nullptr);
    h.player().SetVariable(u"path", h.asset_folder().toStdU16String());
    h.player().SetVariable(u"TempPath", h.asset_folder().toStdU16String());
    h.player().SetVariable(u"incommand", u"Refresh");
    ASSERT_NE(h.WaitForCall("echo", kSignTimeoutMs, 1), nullptr);
    std::vector<std::string> echoes;
    for (const Call& c : h.CallsOf("echo")) echoes.push_back(c.args.toStdString());
    std::sort(echoes.begin(), echoes.end());
    EXPECT_EQ(echoes, (std::vector<std::string>{"TempPath=" + h.asset_folder().toStdString(),
                                                "incommand=Refresh"}));
    const Call* loaded = h.WaitForCall("page", kSignTimeoutMs);
    ASSERT_NE(loaded, nullptr) << h.LogLines().join("\n").toStdString();
    EXPECT_EQ(loaded->args, "lzma");
    EXPECT_TRUE(h.LogLines().filter("refused").isEmpty()) << page_path.toStdString();
  }
}

TEST(PlayerDeliveryTest, TracesAndLoadFailuresReachTheLog) {
  PlayerHarness h;
  for (int version : {6, 8}) {
    SCOPED_TRACE("SWF " + std::to_string(version));
    h.ClearCalls();
    h.ClearLog();
    const std::string line = "trace from SWF " + std::to_string(version) + ": 中文";
    ActionBuilder a;
    a.Push(line).Trace();
    a.Push(h.asset_folder().toStdString() + "missing.swf").Push("_level3").GetUrl2(0);
    a.FsCommand("traced", "");
    // Then it waits for "go" (frames 2 and 3), idles for 24 frames (two
    // seconds), and marks their end in both ways a movie reaches the log: a
    // trace and a failed load.
    ActionBuilder wait;
    const auto not_yet = wait.NewLabel();
    wait.Push("go").GetVariable().Not().If(not_yet).GotoFrame(3).Play().Bind(not_yet);
    const std::string idle_end = "idle for 24 frames";
    ActionBuilder end;
    end.Push(idle_end).Trace();
    end.Push(h.asset_folder().toStdString() + "missing-after.swf").Push("_level4").GetUrl2(0);
    end.Stop();
    swf::MovieBuilder movie({.version = version, .width = 320, .height = 240, .frame_rate = 12});
    movie.Add(swf::DoAction(a.Finish())).Add(swf::ShowFrame());
    movie.Add(swf::DoAction(wait.Finish())).Add(swf::ShowFrame());
    movie.Add(swf::DoAction(ActionBuilder().GotoFrame(1).Play().Finish())).Add(swf::ShowFrame());
    for (int frame = 0; frame < 24; ++frame) movie.Add(swf::ShowFrame());
    movie.Add(swf::DoAction(end.Finish())).Add(swf::ShowFrame());
    h.Load(h.WriteTempMovie(movie.Finish()));
    ASSERT_NE(h.WaitForCall("traced", kLoadTimeoutMs), nullptr);
    ASSERT_TRUE(PlayerHarness::WaitUntil(
        [&] {
          return h.LogLines().contains(QString::fromStdString(line)) &&
                 !h.LogLines().filter("Error during movie loading").filter("missing.swf").isEmpty();
        },
        kSignTimeoutMs))
        << h.LogLines().join("\n").toStdString();
    // An idle movie leaves nothing in the log: from the test's word to go
    // until the marks of the end of its idle frames, only they come.
    h.ClearLog();
    h.player().SetVariable(u"go", u"1");
    ASSERT_TRUE(PlayerHarness::WaitUntil(
        [&] {
          return h.LogLines().contains(QString::fromStdString(idle_end)) &&
                 !h.LogLines()
                      .filter("Error during movie loading")
                      .filter("missing-after.swf")
                      .isEmpty();
        },
        kSignTimeoutMs))
        << h.LogLines().join("\n").toStdString();
    QStringList others;
    for (const QString& l : h.LogLines()) {
      if (l != QString::fromStdString(idle_end) && !l.contains("missing-after.swf") &&
          !l.startsWith("SetVariable: \"go\"")) {
        others << l;
      }
    }
    EXPECT_TRUE(others.isEmpty()) << h.LogLines().join("\n").toStdString();
  }
}

// Resident memory of this process and of the web engine's processes it
// started, in MiB.
double ResidentMiB() {
  double kib = 0;
  const QString self = QString::number(QCoreApplication::applicationPid());
  for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
    QFile stat("/proc/" + pid + "/stat");
    if (!stat.open(QIODevice::ReadOnly)) continue;
    const QList<QByteArray> fields = stat.readAll().split(')').value(1).split(' ');
    if (pid != self && QString::fromLatin1(fields.value(2)) != self) continue;  // fields[2]: parent
    QFile status("/proc/" + pid + "/status");
    if (!status.open(QIODevice::ReadOnly)) continue;
    for (const QByteArray& line : status.readAll().split('\n')) {
      if (line.startsWith("VmRSS:")) kib += line.mid(6).trimmed().split(' ').value(0).toDouble();
    }
  }
  return kib / 1024;
}

// A 12-frames-a-second movie asking for Refresh 400 times a frame (4,800
// a second), each followed by a "tick", then raising "repeat" 100 times in a
// row; it reports "restorePage" in the first frame that sees it.
swf::Bytes FloodingMovie() {
  swf::MovieBuilder movie({.version = 8, .width = 320, .height = 240, .frame_rate = 12});
  movie.Add(swf::SetBackgroundColor({255, 255, 255}));
  movie.Add(swf::DoAction(ActionBuilder().FsCommand("ready", "").Finish())).Add(swf::ShowFrame());
  ActionBuilder each;
  const auto not_yet = each.NewLabel();
  each.Push("incommand").GetVariable().Push("restorePage").Equals2().Not().If(not_yet);
  each.FsCommand("restored", "");
  each.Push("incommand").PushUndefined().SetVariable();
  each.Bind(not_yet);
  for (int i = 0; i < 400; ++i) each.FsCommand("outcommand", "Refresh").FsCommand("tick", "");
  for (int i = 0; i < 100; ++i) each.FsCommand("repeat", "");
  movie.Add(swf::DoAction(each.Finish())).Add(swf::ShowFrame());
  movie.Add(swf::DoAction(ActionBuilder().GotoFrame(1).Play().Finish())).Add(swf::ShowFrame());
  return movie.Finish();
}

// What a run of the flooding movie saw.
struct Flood {
  std::size_t commands = 0;
  std::size_t ticks = 0;
  std::size_t repeats = 0;
  std::vector<double> memory;     // MiB, at each round
  std::vector<qint64> latencies;  // ms from the right click's answer to the movie seeing it
};

// Plays the flooding movie, answering each of its commands, for four
// rounds: each round lets it flood (`pause`), then sets a right click's
// answer and waits up to `bound_ms` for the movie to see it.
void RunFlood(PlayerHarness& h, Flood& flood, const std::function<void()>& pause, int bound_ms) {
  QObject::connect(&h.player(), &TShockwaveFlash::FSCommand,
                   [&](const QString& command, const QString&) {
                     if (command == "tick") ++flood.ticks;
                     if (command == "repeat") ++flood.repeats;
                     if (command != "outcommand") return;
                     ++flood.commands;
                     h.player().SetVariable(u"incommand", u"Refresh");
                   });
  h.Load(h.WriteTempMovie(FloodingMovie()));
  ASSERT_NE(h.WaitForCall("ready", kLoadTimeoutMs), nullptr);
  // Two log lines a command would measure the log, not the player.
  QLoggingCategory::setFilterRules(QStringLiteral("pagoro.*.info=false"));
  for (int round = 0; round < 4; ++round) {
    pause();
    h.ClearCalls();
    flood.memory.push_back(ResidentMiB());
    const qint64 set_at = h.Now();
    h.player().SetVariable(u"incommand", u"restorePage");
    const Call* restored = h.WaitForCall("restored", bound_ms);
    ASSERT_NE(restored, nullptr) << "round " << round << ", " << flood.commands << " commands, "
                                 << h.calls().size() << " calls since " << set_at << " ms";
    flood.latencies.push_back(restored->at_ms - set_at);
  }
  QLoggingCategory::setFilterRules(
      QStringLiteral("pagoro.player.info=true\npagoro.movie.info=true"));
}

void PrintFlood(const Flood& flood) {
  std::string text;
  for (std::size_t i = 0; i < flood.memory.size(); ++i) {
    text += " round " + std::to_string(i + 1) + ": " +
            std::to_string(static_cast<int>(flood.memory[i])) + " MiB, " +
            std::to_string(flood.latencies[i]) + " ms;";
  }
  std::printf("command flood, %zu commands answered:%s\n", flood.commands, text.c_str());
}

// However long a movie floods the reader with commands, each answered,
// an answer of another value (a right click's) is not lost behind them.
// Distinct commands all arrive; a run of one repeated command arrives once.
TEST(PlayerDeliveryTest, ACommandFloodKeepsEveryAnswer) {
  PlayerHarness h;
  Flood flood;
  RunFlood(
      h, flood,
      [&] {
        const std::size_t before = flood.commands;
        ASSERT_TRUE(
            PlayerHarness::WaitUntil([&] { return flood.commands >= before + 2000; }, 120000))
            << flood.commands << " commands";
      },
      120000);
  PrintFlood(flood);
  // Counted between two frames' batches: every frame's run of repeats is
  // one command, its 400 ticks are 400.
  EXPECT_GT(flood.repeats, 0u);
  EXPECT_NEAR(static_cast<double>(flood.ticks), 400.0 * static_cast<double>(flood.repeats), 400.0);
}

// The flood's pace and the right click's delay: four rounds of 5 s.
TEST(PlayerSpeedTest, ACommandFloodIsAnsweredPromptly) {
  PlayerHarness h;
  Flood flood;
  RunFlood(
      h, flood, [] { PlayerHarness::WaitUntil([] { return false; }, 5000); }, 15000);
  PrintFlood(flood);
  EXPECT_GT(flood.commands, 40u * 1000u);
}

}  // namespace
}  // namespace pagoro::testing
