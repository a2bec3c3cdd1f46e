// Rewrites a movie before the player gets it: a receiver so that values set
// from outside reach it (a function the page calls through the player's
// external interface, setting the value on level 0), and system font
// families in place of the device font aliases, so that their Chinese text
// shows.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pagoro {

struct PatchResult {
  std::vector<std::uint8_t> bytes;  // the patched movie, or the input unchanged
  bool patched = false;
  int swf_version = 0;      // 0 when the input is no movie
  bool is_avm2 = false;     // ActionScript 3: no receiver can be added
  std::string reason;       // why the movie was left unchanged; "" when patched
  bool unplayable = false;  // no player could show it (too large, header cut off): reason says
  int renamed_fonts = 0;    // font names RenameDeviceFonts replaced
};

// True when `head` (a file's first bytes) starts as a movie RenameDeviceFonts
// and InsertVariableReceiver can read: "FWS", "CWS" or "ZWS".
bool LooksLikeMovie(std::span<const std::uint8_t> head);

// Adds, as the movie's first action, the registration of a function with
// the player's external interface under `callback_name` (an identifier):
// called with a name and a value, it sets level 0's variable of that name
// and returns true. The page calls it the moment a value is set, as a host
// of the original player set variables at once. The result is always
// uncompressed. ActionScript 1/2 movies of version 5 and later are patched;
// ActionScript 3, older, damaged or cut movies come back unchanged with a
// reason.
//
// The movie sees nothing of it but the values: no variable, no interval,
// no load (so no onData), nothing on its stack, and the "flash" package,
// hidden from movies before version 8, is shown for the registration only
// and hidden again. The registration runs again each time the main
// timeline comes back to its first frame, replacing itself. What remains
// visible: the movie's own byte count (getBytesTotal) is larger by the
// added action.
PatchResult InsertVariableReceiver(std::span<const std::uint8_t> movie,
                                   std::string_view callback_name);

// Adds, as the movie's first action, System.capabilities.screenResolutionX
// and screenResolutionY as these values (the screen's size in pixels, which
// Flash Player gave; the player gives its own drawing area's). They stay
// read-only, as before. Movies are patched, or left unchanged, as by
// InsertVariableReceiver (ActionScript 3 movies can't be). What remains
// visible: the two properties come last when the object's properties are
// listed.
PatchResult InsertScreenSize(std::span<const std::uint8_t> movie, int width, int height);

// The device font aliases of movies and the font families drawn for them.
// The player draws the aliases with a built-in font that has Latin letters
// only, but a font named by its family comes from the system, with the
// system's fallback for the characters it lacks (Chinese, on a Chinese or
// any CJK-equipped system). The families are the system's own generic
// names, which every fontconfig setup resolves to its preferred face.
struct DeviceFontAlias {
  std::string_view alias;
  std::string_view family;
};
inline constexpr std::array<DeviceFontAlias, 3> kDeviceFontAliases{{
    {"_sans", "sans"},
    {"_serif", "serif"},
    {"_typewriter", "monospace"},
}};

// Gives the movie's device fonts named by an alias the alias's family: the
// names of fonts without glyphs (DefineFont2, DefineFont3), the names a font
// information tag gives a glyph-less DefineFont, and the face attributes in
// the HTML text of text fields drawn with device fonts. Fonts with glyphs
// keep their names, as their outlines may be drawn by name. The result is
// uncompressed when a name changed; a movie without such names, or one that
// can't be read, comes back unchanged with a reason. Names the movie's
// ActionScript sets at run time (TextFormat.font, htmlText) stay aliases.
PatchResult RenameDeviceFonts(std::span<const std::uint8_t> movie);

}  // namespace pagoro
