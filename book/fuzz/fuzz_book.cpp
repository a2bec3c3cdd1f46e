// libFuzzer target: an arbitrary file opened as a book executable, its
// assets extracted into a cache folder and its movie into a temporary file,
// the way a book is opened. Everything happens inside one private folder;
// a file or folder appearing anywhere else in it is a finding.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "book/book.h"
#include "book/errors.h"
#include "testing/book_host.h"
#include "testing/private_folder.h"

namespace {

using pagoro::testing::PrivateFolder;

struct Session {
  PrivateFolder folder;  // TMPDIR and XDG_DATA_HOME point into it
  pagoro::Env& env = pagoro::Env::Default();
  pagoro::testing::RecordingHost host{env};
  std::string book_path = folder.path() + "/book.exe";
  std::string cache = folder.data() + "/book/";

  Session() { env.CreateFolder(folder.data() + "/book"); }

  std::set<std::string> Names(const std::string& dir) {
    const auto names = env.ListFolder(dir);
    return {names.begin(), names.end()};
  }

  // Aborts when anything stands where nothing may be written.
  void CheckNothingEscaped() {
    if (Names(folder.path()) !=
            std::set<std::string>{"book.exe", "data", "home", "state", "tmp", "work"} ||
        Names(folder.data()) != std::set<std::string>{"book"})
      std::abort();
    for (const std::string& name : Names(cache))
      if (!env.FileExists(cache + name)) std::abort();
  }

  void CleanUp() {
    host.ClearFolder(cache);
    host.ClearFolder(folder.tmp() + "/");
    host.messages.clear();
  }
};

template <typename F>
void IgnoringBookErrors(F f) {
  try {
    f();
  } catch (const pagoro::Exception&) {
    // The failures a user would see in a message box.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Session session;
  const unsigned char* bytes = data;
  session.env.WriteFile(session.book_path, bytes, size);

  pagoro::Book book(session.env, session.host);
  IgnoringBookErrors([&] { book.LoadIndex(session.book_path); });
  IgnoringBookErrors([&] { book.ExtractAssets(session.cache); });
  IgnoringBookErrors([&] { book.ExtractMainMovie("main.swf"); });
  // Both storage versions, whatever the header line says.
  IgnoringBookErrors([&] { book.ExtractRotatedEntry("main.swf"); });
  IgnoringBookErrors([&] { book.ExtractHeaderedEntry("movies/main.swf"); });
  session.CheckNothingEscaped();
  session.CleanUp();
  return 0;
}
