// A movie that the reader's end-to-end tests (and `make run`) drive from the
// outside: keys raise fscommands, variables the reader sets are echoed back
// through fscommand("echo", "name=value"), and left mouse presses are told
// as fscommand("mouse", "down").
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "swf/byte_writer.h"

namespace pagoro::testing {

struct RemoteMovieOptions {
  int width = 800;
  int height = 600;
  // fscommand(command, args) raised on the first frame, after "ready".
  std::vector<std::pair<std::string, std::string>> start_calls;
  // Flash key code (65 is A) -> fscommand(command, args) on key down.
  std::vector<std::pair<int, std::pair<std::string, std::string>>> keys;
  // Flash key code -> a file whose variables the movie loads on key down:
  // loadVariablesNum(NAME, 0) for an absolute path or a URL, else
  // loadVariablesNum(TempPath + NAME, 0) with the last TempPath the reader
  // set.
  std::vector<std::pair<int, std::string>> loads;
  // Flash key code -> loadVariablesNum(NAME, 0) on key down, NAME as given
  // (a relative name resolves against the movie's own address).
  std::vector<std::pair<int, std::string>> loads_as_written;
  // Flash key code -> getURL(URL, "_blank") on key down.
  std::vector<std::pair<int, std::string>> links;
  // The FileAttributes flags (the use-network flag, 0x01, above all).
  std::uint32_t file_attributes = 0;
  // Variables echoed (and cleared) whenever the reader sets them.
  std::vector<std::string> watched;
  // Text shown on the stage; a second line shows `shown_variable` if given.
  std::string text;
  std::string shown_variable;
};

swf::Bytes RemoteMovie(const RemoteMovieOptions& options);

}  // namespace pagoro::testing
