#include "app/start_args.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <tuple>

#include "processing/files.h"

namespace tz {

const char kStartUsage[] =
    "Usage: torzalen [INPUT [TDM_OUT FDM_OUT]]\n"
    "       torzalen --export DISPLAY=FILE [--export DISPLAY=FILE...] [--size WxH]\n"
    "                INPUT TDM_OUT FDM_OUT\n"
    "Starts the desktop program. With INPUT (a VBT file, or a TDM or FDM file of\n"
    "an earlier run, by its extension) the file is opened at once; with both\n"
    "outputs too, it is processed at once, otherwise the program asks for them.\n"
    "With --export no window opens: INPUT is processed into the outputs, each\n"
    "DISPLAY is drawn as the window shows it into FILE, and the program exits\n"
    "(0 when the run reached its end, 1 when it failed).\n"
    "\n"
    "Options:\n"
    "  --export DISPLAY=FILE  a picture of DISPLAY (fft, fft-lines, three,\n"
    "                three-unfiltered, rpm, rpm-unfiltered, torque, power)\n"
    "                as PNG, SVG or PDF by FILE's extension\n"
    "  --size WxH    the size of the window's drawing area for the pictures\n"
    "                (default 1600x1000, each side 160 to 8192)\n"
    "  -h, --help    print this text\n"
    "  --            every later argument is a file name\n";

const PictureDisplayName kPictureDisplays[8] = {
    {PictureDisplay::Fft, "fft"},
    {PictureDisplay::FftLines, "fft-lines"},
    {PictureDisplay::Three, "three"},
    {PictureDisplay::ThreeUnfiltered, "three-unfiltered"},
    {PictureDisplay::Rpm, "rpm"},
    {PictureDisplay::RpmUnfiltered, "rpm-unfiltered"},
    {PictureDisplay::Torque, "torque"},
    {PictureDisplay::Power, "power"},
};

std::optional<PictureFormat> PictureFormatOf(const std::string& path) {
  const size_t dot = ExtensionDot(path);
  if (dot == std::string::npos) return std::nullopt;
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (ext == "png") return PictureFormat::Png;
  if (ext == "svg") return PictureFormat::Svg;
  if (ext == "pdf") return PictureFormat::Pdf;
  return std::nullopt;
}

namespace {

// "DISPLAY=FILE" of an --export; false with the reason when it is not one.
bool ParsePictureRequest(const std::string& value, PictureRequest& out, std::string& error) {
  const size_t eq = value.find('=');
  const std::string name = value.substr(0, eq);
  const PictureDisplayName* found = nullptr;
  for (const PictureDisplayName& d : kPictureDisplays)
    if (name == d.name) found = &d;
  if (eq == std::string::npos || found == nullptr) {
    error = "--export " + value + ": expected DISPLAY=FILE, DISPLAY one of fft, fft-lines, "
            "three, three-unfiltered, rpm, rpm-unfiltered, torque, power";
    return false;
  }
  out = PictureRequest{found->display, value.substr(eq + 1)};
  if (!PictureFormatOf(out.file)) {
    error = "--export " + value + ": FILE must end in .png, .svg or .pdf";
    return false;
  }
  return true;
}

// A side of --size: digits only, within the limits.
bool ParseSide(const std::string& digits, int& side) {
  if (digits.empty() || digits.size() > 5) return false;
  int v = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  side = v;
  return v >= kPictureMinSide && v <= kPictureMaxSide;
}

// "WxH" of --size; false with the reason when it is not one.
bool ParseSize(const std::string& value, PictureArgs& out, std::string& error) {
  const size_t x = value.find('x');
  if (x == std::string::npos || !ParseSide(value.substr(0, x), out.width) ||
      !ParseSide(value.substr(x + 1), out.height)) {
    error = "--size " + value + ": expected WxH, each side 160 to 8192";
    return false;
  }
  return true;
}

// The value of an option that takes one: after '=' in the same argument, or
// the next argument. False when there is none.
bool OptionValue(const std::vector<std::string>& args, size_t& i, const std::string& option,
                 std::string& value) {
  const std::string& a = args[i];
  if (a.size() > option.size() && a.compare(0, option.size() + 1, option + "=") == 0) {
    value = a.substr(option.size() + 1);
    return true;
  }
  if (i + 1 >= args.size()) return false;
  value = args[++i];
  return true;
}

// What is wrong with the names and the picture options together, or "".
std::string CheckCombination(const std::vector<std::string>& names, const PictureArgs& out,
                             bool sizeGiven) {
  if (!out.requests.empty()) {
    if (names.size() != 3)
      return "--export expects INPUT TDM_OUT FDM_OUT, got " + std::to_string(names.size()) +
             " file names";
    return "";
  }
  if (sizeGiven) return "--size needs --export";
  if (names.size() == 2 || names.size() > 3)
    return "expected INPUT or INPUT TDM_OUT FDM_OUT, got " + std::to_string(names.size()) +
           " file names";
  return "";
}

}  // namespace

StartParse ParseStartArgs(const std::vector<std::string>& args, StartArgs& out,
                          PictureArgs* pictures, std::string& error) {
  // --help wins wherever it stands before "--", also where an option would
  // take it as its value.
  for (const std::string& a : args) {
    if (a == "--") break;
    if (a == "-h" || a == "--help") return StartParse::kHelp;
  }
  StartArgs parsed;
  PictureArgs asked;
  std::vector<std::string> names;
  std::string first;  // the first wrong option, reported after the whole line
  bool options = true;
  bool sizeGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string value, why;
    if (options && a == "--") {
      options = false;
    } else if (options && pictures && (a == "--export" || a.starts_with("--export="))) {
      PictureRequest request;
      if (!OptionValue(args, i, "--export", value)) why = "--export needs DISPLAY=FILE";
      else if (ParsePictureRequest(value, request, why)) asked.requests.push_back(request);
    } else if (options && pictures && (a == "--size" || a.starts_with("--size="))) {
      sizeGiven = true;
      if (!OptionValue(args, i, "--size", value)) why = "--size needs WxH";
      else ParseSize(value, asked, why);
    } else if (options && a.size() > 1 && a[0] == '-') {
      // Reported after the whole line is read: a later --help still wins.
      why = "unknown option " + a;
    } else {
      names.push_back(a);
    }
    if (first.empty()) first = why;
  }
  if (first.empty()) first = CheckCombination(names, asked, sizeGiven);
  if (!first.empty()) {
    error = first;
    return StartParse::kUsageError;
  }
  if (names.size() >= 1) parsed.input = names[0];
  if (names.size() == 3) {
    parsed.tdm = names[1];
    parsed.fdm = names[2];
  }
  out = parsed;
  if (pictures) *pictures = asked;
  return StartParse::kRun;
}

namespace {

// The current folder before a relative name, and nothing else changed: a
// ".." after a link is the folder above the one the link names, which only
// the system can tell, when it opens the file.
std::string Absolute(const std::string& path) {
  if (path.empty()) return path;
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::absolute(path, ec);
  return ec ? path : p.string();
}

}  // namespace

void MakeNamesAbsolute(StartArgs& args) {
  args.input = Absolute(args.input);
  args.tdm = Absolute(args.tdm);
  args.fdm = Absolute(args.fdm);
}

namespace {

// What a name reaches: the file (device, inode) where one is, else the
// device and inode of the folder where it would be made and its final name,
// after the links it ends in (a link to where nothing is yet leads there).
using FileKey = std::tuple<dev_t, ino_t, std::string>;

bool KeyOf(const std::string& name, FileKey& key) {
  struct stat st{};
  if (::stat(name.c_str(), &st) == 0) {
    key = {st.st_dev, st.st_ino, std::string()};
    return true;
  }
  FilePlace place;
  if (PlaceOfNewFile(name.c_str(), &place)) {
    key = {place.dirDev, place.dirIno, place.name};
    return true;
  }
  if (::lstat(name.c_str(), &st) != 0) return false;  // its folder is missing
  key = {st.st_dev, st.st_ino, std::string()};        // a link that leads nowhere
  return true;
}

}  // namespace

std::string NotAnInputFile(const std::string& name) {
  struct stat st{};
  if (::stat(name.c_str(), &st) != 0) return std::strerror(errno);
  return S_ISREG(st.st_mode) ? std::string() : "not a regular file";
}

bool PictureNamesClash(const StartArgs& args, const PictureArgs& pictures, std::string& error) {
  std::vector<std::pair<FileKey, std::string>> taken;
  for (const std::string* name : {&args.input, &args.tdm, &args.fdm}) {
    FileKey key;
    if (!name->empty() && KeyOf(*name, key)) taken.emplace_back(key, *name);
  }
  for (const PictureRequest& r : pictures.requests) {
    FileKey key;
    if (!KeyOf(r.file, key)) continue;  // its folder is missing: writing it fails later
    for (const auto& [other, name] : taken) {
      if (other != key) continue;
      error = "--export " + r.file + ": the picture would replace " + name;
      return true;
    }
    taken.emplace_back(key, r.file);
  }
  return false;
}

std::string WithExtension(const std::string& path, const char* extension) {
  const size_t dot = ExtensionDot(path);
  return (dot == std::string::npos ? path : path.substr(0, dot)) + "." + extension;
}

}  // namespace tz
