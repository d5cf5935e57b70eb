// Every command, dialog, control and resource identifier of the desktop
// program. Widgets carry their identifier as object name ("id:<number>"), so
// tests and tools find a control by the number alone.
#pragma once

namespace tz::res {

// ---- Main window, commands and run windows (app/) ----

// Resources of the main window.
constexpr int kMenuMain = 101;
constexpr int kAcceleratorTable = 102;
constexpr int kIconApp = 137;

// Commands (menu items and keys), in the order of their numbers.
constexpr int kCmdExit = 40001;
constexpr int kCmdHelp = 40023;
constexpr int kCmdOpenVbt = 40024;
constexpr int kCmdSelectFdmOutput = 40025;  // status text only; F4 runs kCmdSaveAsFdm
constexpr int kCmdAbout = 40026;
constexpr int kCmdFilteringSettings = 40027;
constexpr int kCmdParameters = 40028;
constexpr int kCmdProcessFile = 40029;
constexpr int kCmdDisplayControl = 40031;
constexpr int kCmdXZoom = 40032;
constexpr int kCmdRedraw100 = 40033;        // status text only
constexpr int kCmdRestoreX = 40035;
constexpr int kCmdOpenTdm = 40036;
constexpr int kCmdPrintPreview = 40037;
constexpr int kCmdPrint = 40038;
constexpr int kCmdOpenFdm = 40040;
constexpr int kCmdSaveAsFdm = 40041;
constexpr int kCmdFftFiltering = 40042;
constexpr int kCmdFftInput = 40043;

// Toolbar strip at the bottom of the panel column.
constexpr int kDlgToolbar = 103;
constexpr int kToolbarProgress = 1013;

// The plot window, a child of the main window (same number as the strip's
// template; the two live in different tables).
constexpr int kPlotWindow = 103;

// About and help.
constexpr int kDlgAbout = 104;
constexpr int kDlgHelp = 139;

// Statistics of a run (modeless).
constexpr int kDlgStatistics = 142;
constexpr int kEditStatFiltered = 1323;
constexpr int kEditStatTotal = 1324;
constexpr int kEditStatPercent = 1325;

// Progress of a run (modeless).
constexpr int kDlgProgress = 155;
constexpr int kProgressBar = 1488;
constexpr int kProgressText = 1489;

// ---- Settings dialogs (settings/) ----

// Push buttons of every dialog, and the identifier of static texts and group
// boxes, which no code addresses.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdStatic = -1;

// Filtering settings (modal).
constexpr int kDlgFilterSettings = 108;
constexpr int kEditMovAvgLen = 1047;
constexpr int kEditRpmThreshold = 1048;
constexpr int kEditAllowedOvershoot = 1049;
constexpr int kEditZeroCrossLen = 1050;

// System parameters (modeless, read-only).
constexpr int kDlgParameters = 143;
constexpr int kEditParamDate = 1326;
constexpr int kEditParamTime = 1327;
constexpr int kEditParamFmux = 1328;
constexpr int kEditParamL = 1329;
constexpr int kEditParamRext = 1330;
constexpr int kEditParamRint = 1331;
constexpr int kEditParamNSlot = 1332;
constexpr int kEditParamASlot = 1333;
constexpr int kEditParamPercSlot = 1334;
constexpr int kEditParamG = 1335;
constexpr int kEditParamMovAvgLen = 1336;
constexpr int kEditParamRpmMax = 1337;

// FFT filtering window selection (modal).
constexpr int kDlgFftWindow = 150;
constexpr int kRadioWindowFlatTop = 1437;
constexpr int kRadioWindowHamming = 1438;
constexpr int kRadioWindowBlackman = 1439;

// FFT source selection (modal).
constexpr int kDlgFftSource = 151;
constexpr int kRadioSourceCslot = 1440;
constexpr int kRadioSourceRpmFilt = 1441;
constexpr int kRadioSourceRpmInst = 1442;
constexpr int kRadioSourceTorque = 1443;
constexpr int kRadioSourcePower = 1444;

// ---- Graph display (display/) ----

}  // namespace tz::res
