// pagoro-remote-movie OUT [options]: writes a remote-control test movie.
//   --size WxH                  stage size (800x600)
//   --start COMMAND:ARGS        fscommand on the first frame (repeatable)
//   --key CODE=COMMAND:ARGS     fscommand when the key goes down (repeatable)
//   --load CODE=NAME            loads NAME's variables on that key (TempPath + NAME
//                               unless NAME is an absolute path or a URL)
//   --link CODE=URL             getURL(URL, "_blank") on that key
//   --use-network               the use-network flag in FileAttributes
//   --lzma                      the movie stored LZMA-compressed ("ZWS")
//   --watch NAME                echo this variable (repeatable)
//   --text TEXT                 text on the stage
//   --show NAME                 a field that shows this variable
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "swf/movie.h"
#include "tests/window/remote_movie.h"

namespace {

std::pair<std::string, std::string> Call(const std::string& text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos) return {text, ""};
  return {text.substr(0, colon), text.substr(colon + 1)};
}

int Usage() {
  std::cerr
      << "usage: pagoro-remote-movie OUT [--size WxH] [--start CMD:ARGS] "
         "[--key CODE=CMD:ARGS] [--load CODE=NAME] [--link CODE=URL] [--use-network] [--lzma] "
         "[--watch NAME] [--text TEXT] [--show NAME]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string out = argv[1];
  pagoro::testing::RemoteMovieOptions o;
  bool lzma = false;
  for (int i = 2; i < argc; ++i) {
    const std::string opt = argv[i];
    if (opt == "--use-network") {
      o.file_attributes |= 0x01;
      continue;
    }
    if (opt == "--lzma") {
      lzma = true;
      continue;
    }
    if (i + 1 >= argc) return Usage();
    const std::string value = argv[++i];
    if (opt == "--size") {
      if (std::sscanf(value.c_str(), "%dx%d", &o.width, &o.height) != 2) return Usage();
    } else if (opt == "--start") {
      o.start_calls.push_back(Call(value));
    } else if (opt == "--key") {
      const std::size_t eq = value.find('=');
      if (eq == std::string::npos) return Usage();
      o.keys.emplace_back(std::stoi(value.substr(0, eq)), Call(value.substr(eq + 1)));
    } else if (opt == "--load") {
      const std::size_t eq = value.find('=');
      if (eq == std::string::npos) return Usage();
      o.loads.emplace_back(std::stoi(value.substr(0, eq)), value.substr(eq + 1));
    } else if (opt == "--link") {
      const std::size_t eq = value.find('=');
      if (eq == std::string::npos) return Usage();
      o.links.emplace_back(std::stoi(value.substr(0, eq)), value.substr(eq + 1));
    } else if (opt == "--watch") {
      o.watched.push_back(value);
    } else if (opt == "--text") {
      o.text = value;
    } else if (opt == "--show") {
      o.shown_variable = value;
    } else {
      return Usage();
    }
  }
  try {
    pagoro::swf::Bytes bytes = pagoro::testing::RemoteMovie(o);
    if (lzma) bytes = pagoro::swf::LzmaCompressMovie(bytes);
    std::ofstream file(out, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) {
      std::cerr << "pagoro-remote-movie: cannot write " << out << "\n";
      return 1;
    }
  } catch (const std::exception& e) {
    std::cerr << "pagoro-remote-movie: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
