// The plain rules of the desktop program: layout, command line, command
// table and file dialog filters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/commands.h"
#include "app/file_dialog.h"
#include "app/help_dialog.h"
#include "app/start_args.h"
#include "display/layout.h"
#include "ui/resource.h"

namespace tz {
namespace {

TEST(Layout, ClientOf1000WithTheFftGraph) {
  const LayoutRecord l = LayOut(1000, 700, 16, true);
  EXPECT_EQ(l.PanelWidth, 320);
  EXPECT_EQ(l.PlotWidth, 680);
  EXPECT_EQ(l.PlotHeight, 684);
  EXPECT_EQ(l.ToolbarTop, 684);
  EXPECT_EQ(l.PlotTop, 0);
  // The panel column: beside the plot, from its top down to the strip.
  const Rect column = ColumnRect(l);
  EXPECT_EQ(column.x, 680);
  EXPECT_EQ(column.y, 0);
  EXPECT_EQ(column.width, 320);
  EXPECT_EQ(column.height, 684);
  const Rect strip = ToolbarRect(l, 16);
  EXPECT_EQ(strip.x, 680);
  EXPECT_EQ(strip.y, 684);
  EXPECT_EQ(strip.width, 320);
  EXPECT_EQ(strip.height, 16);
  const Rect plot = PlotWindowRect(l);
  EXPECT_EQ(plot.x, 0);
  EXPECT_EQ(plot.y, 0);
  EXPECT_EQ(plot.width, 680);
  EXPECT_EQ(plot.height, 700);  // the whole client height
}

TEST(Layout, ClientOf1000WithTheTimeGraphs) {
  const LayoutRecord l = LayOut(1000, 700, 16, false);
  EXPECT_EQ(l.PanelWidth, 162);
  EXPECT_EQ(l.PlotWidth, 838);
  EXPECT_EQ(ToolbarRect(l, 16).x, 838);
  EXPECT_EQ(ToolbarRect(l, 16).width, 162);
}

TEST(Layout, NarrowOrLowClientGivesNoNegativeOrWrappedSize) {
  for (int width : {0, 1, 161, 162, 200, 319, 320}) {
    const LayoutRecord l = LayOut(width, 10, 16, true);
    EXPECT_EQ(l.PlotWidth, width > 320 ? width - 320 : 0) << width;
    EXPECT_EQ(l.PlotHeight, 0);
    EXPECT_EQ(l.ToolbarTop, 0);
    EXPECT_GE(PlotWindowRect(l).width, 0);
    EXPECT_GE(ToolbarRect(l, 16).height, 0);
  }
  EXPECT_EQ(LayOut(161, 300, 16, false).PlotWidth, 0);
  EXPECT_EQ(LayOut(163, 300, 16, false).PlotWidth, 1);
  EXPECT_EQ(LayOut(-5, -5, 16, true).ClientWidth, 0);
  EXPECT_EQ(LayOut(70000, 70000, 16, true).ClientWidth, 65535);
  EXPECT_EQ(PlotWidthFor(100, 320), 0);
}

TEST(Layout, PanelsOfTheColumnEachAsHighAsTheyNeedOneFillingTheRest) {
  const struct {
    std::vector<int> needs;
    size_t fill;
    int column;
    std::vector<PanelSpan> spans;
    int height;
    bool scrolls;
  } cases[] = {
      // The FFT panels in a tall column: the FFT Y panel takes the rest.
      {{340, 310}, 0, 975, {{0, 665}, {665, 310}}, 975, false},
      // Three bands: the power band's panel takes the rest.
      {{160, 160, 160, 190}, 2, 700, {{0, 160}, {160, 160}, {320, 190}, {510, 190}}, 700, false},
      // Exactly the room: nobody grows, nothing scrolls.
      {{160, 190}, 0, 350, {{0, 160}, {160, 190}}, 350, false},
      // One pixel short: each keeps its need, the column scrolls.
      {{160, 190}, 0, 349, {{0, 160}, {160, 190}}, 350, true},
      {{340, 310}, 0, 480, {{0, 340}, {340, 310}}, 650, true},
      {{340, 310}, 1, 0, {{0, 340}, {340, 310}}, 650, true},
      // No panel, or a need below nothing.
      {{}, 0, 500, {}, 0, false},
      {{-5, 10}, 1, 30, {{0, 0}, {0, 30}}, 30, false},
  };
  for (const auto& c : cases) {
    const ColumnPlan plan = PlanColumn(c.needs, c.fill, c.column);
    EXPECT_EQ(plan.panels, c.spans) << c.column;
    EXPECT_EQ(plan.height, c.height) << c.column;
    EXPECT_EQ(plan.scrolls, c.scrolls) << c.column;
  }
}

TEST(Layout, MinimumTrackHeight) {
  // Menu 20, dialog unit 16, frames 4, captions 22: 20 + 16 + 8 + 88.
  EXPECT_EQ(MinTrackHeight(20, 16, 4, 22), 132);
}

TEST(StartArgs, CountsOfArguments) {
  StartArgs a;
  std::string error;
  EXPECT_EQ(ParseStartArgs({}, a, error), StartParse::kRun);
  EXPECT_TRUE(a.input.empty());
  EXPECT_EQ(ParseStartArgs({"in.VBT"}, a, error), StartParse::kRun);
  EXPECT_EQ(a.input, "in.VBT");
  EXPECT_TRUE(a.tdm.empty());
  EXPECT_EQ(ParseStartArgs({"in.VBT", "o.TDM", "o.FDM"}, a, error), StartParse::kRun);
  EXPECT_EQ(a.tdm, "o.TDM");
  EXPECT_EQ(a.fdm, "o.FDM");
  EXPECT_EQ(ParseStartArgs({"in.VBT", "o.TDM"}, a, error), StartParse::kUsageError);
  EXPECT_EQ(ParseStartArgs({"a", "b", "c", "d"}, a, error), StartParse::kUsageError);
  EXPECT_EQ(ParseStartArgs({"a", "--help"}, a, error), StartParse::kHelp);
}

TEST(StartArgs, OptionsBeforeTheDoubleDashNamesAfterIt) {
  const struct {
    std::vector<std::string> args;
    StartParse result;
    const char* input;  // of a run
    const char* error;  // of a usage error
  } cases[] = {
      {{"--bogus", "in.VBT"}, StartParse::kUsageError, "", "unknown option --bogus"},
      {{"-x", "-y"}, StartParse::kUsageError, "", "unknown option -x"},
      {{"--bogus", "-h"}, StartParse::kHelp, "", ""},  // the usage wins
      {{"--", "-h"}, StartParse::kRun, "-h", ""},
      {{"--", "--", "a", "b"}, StartParse::kRun, "--", ""},
      {{"-"}, StartParse::kRun, "-", ""},
      {{"--", "-h", "--help"},
       StartParse::kUsageError,
       "",
       "expected INPUT or INPUT TDM_OUT FDM_OUT, got 2 file names"},
  };
  for (const auto& c : cases) {
    StartArgs a;
    std::string error;
    const StartParse got = ParseStartArgs(c.args, a, error);
    EXPECT_EQ(got, c.result) << c.args[0];
    if (got == StartParse::kRun) {
      EXPECT_EQ(a.input, c.input);
    }
    if (got == StartParse::kUsageError) {
      EXPECT_EQ(error, c.error);
    }
  }
}

TEST(StartArgs, KindByExtensionInEitherCase) {
  EXPECT_EQ(KindFromExtension("run.tdm"), InputKind::Tdm);
  EXPECT_EQ(KindFromExtension("/x/RUN.TDM"), InputKind::Tdm);
  EXPECT_EQ(KindFromExtension("run.Fdm"), InputKind::Fdm);
  EXPECT_EQ(KindFromExtension("run.VBT"), InputKind::Vbt);
  EXPECT_EQ(KindFromExtension("run.txt"), InputKind::Vbt);
  EXPECT_EQ(KindFromExtension("run"), InputKind::Vbt);
  EXPECT_EQ(KindFromExtension("dir.fdm/run"), InputKind::Vbt);
}

TEST(StartArgs, OutputNamesFromTheInput) {
  EXPECT_EQ(WithExtension("/d/demo.VBT", "TDM"), "/d/demo.TDM");
  EXPECT_EQ(WithExtension("/d.x/demo", "FDM"), "/d.x/demo.FDM");
  EXPECT_EQ(WithExtension("a.b.vbt", "TDM"), "a.b.TDM");
}

TEST(FileDialogs, FiltersTitlesAndExtensions) {
  EXPECT_EQ(FilterText(kOpenVbtDialog).toStdString(), "VBT Files (*.VBT *.vbt)");
  EXPECT_EQ(FilterText(kOpenTdmDialog).toStdString(), "TDM Files (*.TDM *.tdm)");
  EXPECT_EQ(FilterText(kSaveFdmDialog).toStdString(), "FDM Files (*.FDM *.fdm)");
  const struct {
    const FileDialogSetup& setup;
    FileDialogKind kind;
    const char* title;
    const char* ext;
  } cases[] = {
      {kOpenVbtDialog, FileDialogKind::Open, "Open VBT file", "VBT"},
      {kOpenTdmDialog, FileDialogKind::Open, "Open TDM file", "TDM"},
      {kOpenFdmDialog, FileDialogKind::Open, "Open FDM file", "FDM"},
      {kCreateTdmDialog, FileDialogKind::Save, "Create TDM file", "TDM"},
      {kCreateFdmDialog, FileDialogKind::Save, "Create FDM file", "FDM"},
      {kSaveTdmDialog, FileDialogKind::Save, "Save TDM file", "TDM"},
      {kSaveFdmDialog, FileDialogKind::Save, "Save FDM file", "FDM"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.setup.kind, c.kind) << c.title;
    EXPECT_STREQ(c.setup.title, c.title);
    EXPECT_STREQ(c.setup.extension, c.ext);
  }
  EXPECT_EQ(FileNamePart("/a/b/demo.VBT"), "demo.VBT");
  EXPECT_EQ(FileNamePart("demo.VBT"), "demo.VBT");
  // What follows the last slash, whatever it is.
  for (auto [path, name] : {std::pair{"a//b.c.d", "b.c.d"}, {"/a/b/", ""}, {"/", ""}, {"", ""},
                            {"x/..", ".."}, {"x/.hidden", ".hidden"}, {"a\\b.VBT", "a\\b.VBT"}})
    EXPECT_EQ(FileNamePart(path), name) << path;
}

TEST(FileDialogs, AnOpenDialogStartsWithANameOfItsKindOnly) {
  const struct {
    const FileDialogSetup& setup;
    const char* current;
    const char* start;
  } cases[] = {
      {kOpenTdmDialog, "/d/x.TDM", "/d/x.TDM"},
      {kOpenTdmDialog, "/d/x.tdm", "/d/x.tdm"},
      {kOpenTdmDialog, "/d/x.Tdm", "/d/"},  // not listed by the filter
      {kOpenTdmDialog, "/d/x.VBT", "/d/"},
      {kOpenTdmDialog, "/d.TDM/x", "/d.TDM/"},
      {kOpenFdmDialog, "/d/.FDM", "/d/.FDM"},
      {kOpenFdmDialog, "/d/x.FDM.bak", "/d/"},
      {kOpenVbtDialog, "/d/x.FDM", "/d/"},
      {kOpenVbtDialog, "x.FDM", ""},  // no folder to start in
      {kOpenVbtDialog, "", ""},
      {kCreateTdmDialog, "/d/x.VBT", "/d/x.VBT"},  // a save dialog keeps the name
      {kSaveFdmDialog, "/d/x", "/d/x"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DialogStartName(c.setup, c.current), c.start) << c.setup.title << " " << c.current;
}

TEST(CommandTable, StatusTextsOfTheStringTable) {
  const struct {
    int id;
    const char* text;
  } texts[] = {
      {40001, "Exits from the program"},
      {40023, "Quick reference manual"},
      {40024, "Open a VBT input file (sampling file) and creates a TDM and FDM output files (processed files)"},
      {40025, "Select a FDM output file"},
      {40026, "About VRX7731-FDM"},
      {40027, "Modify default filtering settings"},
      {40028, "Display VBT file header parameters"},
      {40029, "Process the VBT file and generate a TDM and a FDM files"},
      {40031, "Display control settings"},
      {40032, "X axis zoom (from marker1 to marker 2)"},
      {40033, "Redraw graph scaled at 100% on X axis"},
      {40035, "Restore original scale factor"},
      {40036, "Open a TDM input file (Time domain) and creates a TDM and a FDM output file (processed files)"},
      {40037, "Print preview"},
      {40038, "Print "},
      {40040, "Open a FDM input file (FFT file) and creates aTDM and a FDM output file (processed files)"},
      {40041, "Saves a FDM (FFT file)"},
      {40042, "Select FFT filtering sinc window"},
      {40043, "Select FFT input data"},
      {40060, "Saves the display as a PNG, SVG or PDF picture"},
  };
  EXPECT_EQ(CommandTable().size(), std::size(texts));
  for (const auto& t : texts) {
    const Command* c = FindCommand(t.id);
    ASSERT_NE(c, nullptr) << t.id;
    EXPECT_STREQ(c->statusTip, t.text) << t.id;
  }
  // Status texts without an action: the dispatcher ignores them.
  EXPECT_EQ(FindCommand(res::kCmdSelectFdmOutput)->handler, nullptr);
  EXPECT_EQ(FindCommand(res::kCmdRedraw100)->handler, nullptr);
  EXPECT_EQ(FindCommand(12345), nullptr);
}

TEST(HelpText, ThirtyTwoLinesWithTheSubItemsSetIn) {
  ASSERT_EQ(HelpLines().size(), 32u);
  EXPECT_STREQ(HelpLines()[0],
               "1) To use the program first select the VBT input file to open and the TDM output "
               "file to create with File - Open VBT File (F2)");
  EXPECT_STREQ(HelpLines()[12],
               "5) It is possible to select a different name for the FDM output file using File - "
               "Save as FDM File (F4).  This option is usefull when,");
  EXPECT_STREQ(HelpLines()[29], "d) Clean spectrum (DC component +floor) cleans the DC component and the floor.");
  // Printing and the picture export, after the original thirty lines.
  EXPECT_STREQ(HelpLines()[30],
               "9) File - Print (F11) prints the graph(s) and the panels on a landscape page, "
               "headed by the file, its date and time and the FFT settings;");
  EXPECT_STREQ(HelpLines()[31],
               "File - Print preview shows the page first. File - Export graph... saves the same "
               "picture as a PNG, SVG or PDF file.");
  for (int i = 0; i < 32; ++i) EXPECT_EQ(HelpLineIndented(i), i >= 4 && i <= 11) << i + 1;
}

}  // namespace
}  // namespace tz
