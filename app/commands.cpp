#include "app/commands.h"

#include "app/dispatcher.h"
#include "ui/resource.h"

namespace tz {

const char kAppTitle[] = "Varnholt - VRX7731 Torzalen - Frequency Domain Utility";

namespace {

using D = CommandDispatcher;
constexpr QKeyCombination kNoKey{};

// clang-format off
const Command kCommands[] = {
  {res::kCmdOpenVbt, Menu::File, "Open &VBT File  \tF2", Qt::Key_F2,
   "Open a VBT input file (sampling file) and creates a TDM and FDM output files (processed files)",
   &D::OpenVbt, false},
  {res::kCmdOpenTdm, Menu::File, "Open TDM file", kNoKey,
   "Open a TDM input file (Time domain) and creates a TDM and a FDM output file (processed files)",
   &D::OpenTdm, false},
  {res::kCmdOpenFdm, Menu::File, "&Open FDM file \tF3", Qt::Key_F3,
   "Open a FDM input file (FFT file) and creates aTDM and a FDM output file (processed files)",
   &D::OpenFdm, false},
  // The item shows F4, so F4 runs it.
  {res::kCmdSaveAsFdm, Menu::File, "&Save as FDM file  \tF4", Qt::Key_F4,
   "Saves a FDM (FFT file)", &D::SaveAsFdm, true},
  {res::kCmdPrintPreview, Menu::File, "Print preview", kNoKey,
   "Print preview", &D::PrintPreview, false},
  {res::kCmdPrint, Menu::File, "Print \tF11", Qt::Key_F11,
   "Print ", &D::Print, false},
  {res::kCmdExportGraph, Menu::File, "Export &graph...", kNoKey,
   "Saves the display as a PNG, SVG or PDF picture", &D::ExportGraph, true},
  {res::kCmdExit, Menu::File, "E&xit\tAlt-X", Qt::ALT | Qt::Key_X,
   "Exits from the program", &D::Exit, false},

  {res::kCmdParameters, Menu::VbtSettings, "&Parameters  \tF5", Qt::Key_F5,
   "Display VBT file header parameters", &D::Parameters, false},
  {res::kCmdFilteringSettings, Menu::VbtSettings, "&Filtering settings  \tF6", Qt::Key_F6,
   "Modify default filtering settings", &D::FilteringSettings, false},

  {res::kCmdFftFiltering, Menu::FftSettings, "FFT filtering \tF12", Qt::Key_F12,
   "Select FFT filtering sinc window", &D::FftFiltering, false},
  {res::kCmdFftInput, Menu::FftSettings, "FFT input selection", kNoKey,
   "Select FFT input data", &D::FftInput, false},

  {res::kCmdDisplayControl, Menu::Display, "&Display control \tF7", Qt::Key_F7,
   "Display control settings", &D::DisplayControl, false},
  {res::kCmdXZoom, Menu::Display, "X axis &zoom \tF8", Qt::Key_F8,
   "X axis zoom (from marker1 to marker 2)", &D::XZoom, false},
  {res::kCmdRestoreX, Menu::Display, "&Restore X axis \tF9", Qt::Key_F9,
   "Restore original scale factor", &D::RestoreX, false},

  {res::kCmdProcessFile, Menu::Run, "P&rocess File  \tF10", Qt::Key_F10,
   "Process the VBT file and generate a TDM and a FDM files", &D::ProcessFile, false},

  {res::kCmdHelp, Menu::Help, "Online help  \tF1", Qt::Key_F1,
   "Quick reference manual", &D::Help, false},
  {res::kCmdAbout, Menu::Help, "&About VRX7731-FDM", kNoKey,
   "About VRX7731-FDM", &D::About, false},

  // Status texts without a command.
  {res::kCmdSelectFdmOutput, Menu::None, nullptr, kNoKey, "Select a FDM output file", nullptr, false},
  {res::kCmdRedraw100, Menu::None, nullptr, kNoKey, "Redraw graph scaled at 100% on X axis", nullptr, false},
};
// clang-format on

const Menu kMenus[] = {Menu::File,    Menu::VbtSettings, Menu::FftSettings,
                       Menu::Display, Menu::Run,         Menu::Help};

const AlternateKey kAlternateKeys[] = {
    {res::kCmdOpenVbt, Qt::CTRL | Qt::Key_O},
    {res::kCmdPrint, Qt::CTRL | Qt::Key_P},
    {res::kCmdExit, Qt::CTRL | Qt::Key_Q},
};

}  // namespace

std::span<const Command> CommandTable() { return kCommands; }

std::span<const AlternateKey> AlternateKeys() { return kAlternateKeys; }

const Command* FindCommand(int id) {
  for (const Command& c : kCommands)
    if (c.id == id) return &c;
  return nullptr;
}

std::span<const Menu> MenuOrder() { return kMenus; }

const char* MenuTitle(Menu menu) {
  switch (menu) {
    case Menu::File: return "File";
    case Menu::VbtSettings: return "VBT Settings";
    case Menu::FftSettings: return "FFT Settings";
    case Menu::Display: return "Display";
    case Menu::Run: return "Run";
    case Menu::Help: return "Help";
    case Menu::None: break;
  }
  return "";
}

}  // namespace tz
