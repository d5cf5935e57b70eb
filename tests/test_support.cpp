#include "tests/test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace tz::test {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "torzalen-test-XXXXXX").string();
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  if (mkdtemp(buf.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  dir_ = buf.data();
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

std::string SourcePath(const std::string& rel) { return std::string(TZ_SOURCE_DIR) + "/" + rel; }

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::vector<std::string> Names(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

CommandResult RunCommand(const std::string& command) {
  TempDir tmp;
  const std::string outPath = tmp.Path("out"), errPath = tmp.Path("err");
  const std::string full = command + " >" + outPath + " 2>" + errPath + " </dev/null";
  const int raw = std::system(full.c_str());
  CommandResult res;
  res.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  res.out = ReadFile(outPath);
  res.err = ReadFile(errPath);
  return res;
}

CommandResult RunCli(const std::string& args) { return RunCommand(std::string(TZ_CLI) + " " + args); }

void Generate(const std::string& path, const std::string& options) {
  const CommandResult res = RunCommand(std::string(TZ_VBTGEN) + " " + options + " -o " + path);
  if (res.status != 0) throw std::runtime_error("generator failed: " + res.err);
}

std::string VbtHeader() {
  return "Download of sampled vibrotorsional data\r\n"
         "08/12/2026\r\n"
         "10:00:00\r\n"
         "Fmux=0.1uS\r\n"
         "G=80000N/sqmm\r\n"
         "Rext=25mm\r\n"
         "Rint=0mm\r\n"
         "L=100mm\r\n"
         "N_SLOT=60\r\n"
         "A_SLOT=3\r\n"
         "Perc_Slot=0.5\r\n"
         "RPMmax=3000rpm\r\n"
         "PCoeff=1\r\n"
         "PDist=0\r\n"
         "Cislot,Cslot\r\n";
}

std::string VbtFile(const std::string& samples) { return VbtHeader() + samples; }

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    const size_t pos = text.find("\r\n", start);
    if (pos == std::string::npos) {
      if (start < text.size()) lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, pos - start));
    start = pos + 2;
  }
  return lines;
}

}  // namespace tz::test
