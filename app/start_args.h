// The command line of the desktop program: torzalen [INPUT [TDM_OUT FDM_OUT]],
// or torzalen --export DISPLAY=FILE... [--size WxH] INPUT TDM_OUT FDM_OUT for
// pictures without a window. Read in plain code before the application
// object exists, so that --help and a wrong argument are answered with or
// without a display.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "processing/codes.h"

namespace tz {

// The displays a picture can be made of: the display settings' graph
// choices, the FFT graph as its envelope or as its spectral lines.
enum class PictureDisplay {
  Fft, FftLines, Three, ThreeUnfiltered, Rpm, RpmUnfiltered, Torque, Power
};
struct PictureDisplayName {
  PictureDisplay display;
  const char* name;  // as given on the command line
};
extern const PictureDisplayName kPictureDisplays[8];

// One --export: the display and the picture file it goes to.
struct PictureRequest {
  PictureDisplay display;
  std::string file;
};

// A picture's file format, by the extension of its name in either case
// (".png", ".SVG", ".Pdf"); none for another or no extension.
enum class PictureFormat { Png, Svg, Pdf };
std::optional<PictureFormat> PictureFormatOf(const std::string& path);

// The client area's size of a picture, by default and at most/least.
constexpr int kPictureWidth = 1600;
constexpr int kPictureHeight = 1000;
constexpr int kPictureMinSide = 160;
constexpr int kPictureMaxSide = 8192;

struct StartArgs {
  std::string input;  // empty: start without a file
  std::string tdm, fdm;  // both empty: ask for them
};

// The pictures asked for; none: the program opens its window.
struct PictureArgs {
  std::vector<PictureRequest> requests;
  int width = kPictureWidth, height = kPictureHeight;  // of the client area
};

enum class StartParse { kRun, kHelp, kUsageError };

// Parses the arguments (without the program name). "-h" or "--help" before
// "--" asks for the usage; "--export DISPLAY=FILE" (FILE ending in .png,
// .svg or .pdf, in either case) and "--size WxH" take the next argument (or
// the text after '='); --export needs all three names, --size an --export.
// Any other argument that starts with '-' before "--" is an unknown option;
// after "--" every argument is a file name. On a usage error, error says
// what is wrong. Without pictures (nullptr), --export and --size are
// unknown options.
StartParse ParseStartArgs(const std::vector<std::string>& args, StartArgs& out,
                          PictureArgs* pictures, std::string& error);
inline StartParse ParseStartArgs(const std::vector<std::string>& args, StartArgs& out,
                                 std::string& error) {
  return ParseStartArgs(args, out, nullptr, error);
}

// Makes the given names absolute against the current folder, so that a
// later run finds the same files (empty names stay empty).
void MakeNamesAbsolute(StartArgs& args);

// Why a name is no input file for the desktop program ("" when it is one):
// the system's reason when it cannot be reached, else "not a regular file".
std::string NotAnInputFile(const std::string& name);

// A picture that would take the place of the input, an output or another
// picture: its name, and the name of the file it would replace, in error.
// Names are compared as the system resolves them (the file a name reaches,
// or its folder and final name where nothing is yet), not as strings.
bool PictureNamesClash(const StartArgs& args, const PictureArgs& pictures, std::string& error);

// The path with its extension replaced ("a/b.VBT", "TDM" -> "a/b.TDM"); a
// path without one gets it appended.
std::string WithExtension(const std::string& path, const char* extension);

extern const char kStartUsage[];

}  // namespace tz
