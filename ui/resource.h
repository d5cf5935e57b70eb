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
constexpr int kCmdExportGraph = 40060;  // the display as a picture file
// Commands added by this program's later versions, numbered apart: the
// visible data export, the recent inputs, and copying the panels' readouts.
constexpr int kCmdExportData = 4121;
constexpr int kCmdRecentFile1 = 4131;  // .. kCmdRecentFile1 + 7, one per recent input
constexpr int kMenuRecentFiles = 4130;
constexpr int kCmdCopyReadouts = 4141;

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

// Axis panels beside the plot window (templates; each a child of the
// main window, recreated by every display rebuild).
constexpr int kDlgPanelY1 = 144;
constexpr int kDlgPanelY2 = 147;
constexpr int kDlgPanelY3 = 148;
constexpr int kDlgPanelX = 149;
constexpr int kDlgPanelFftX = 152;
constexpr int kDlgPanelFftY = 153;

// Y panels: title, zoom field, Set, marker switch, marker value, maximum,
// minimum.
constexpr int kY1Title = 1349, kY1Zoom = 1362, kY1Set = 1432, kY1MarkerOn = 1363,
              kY1MarkerVal = 1364, kY1Max = 1365, kY1Min = 1366;
constexpr int kY2Title = 1401, kY2Zoom = 1404, kY2Set = 1433, kY2MarkerOn = 1406,
              kY2MarkerVal = 1410, kY2Max = 1411, kY2Min = 1412;
constexpr int kY3Title = 1413, kY3Zoom = 1416, kY3Set = 1434, kY3MarkerOn = 1418,
              kY3MarkerVal = 1422, kY3Max = 1423, kY3Min = 1424;

// X marker panel of the time graphs.
constexpr int kXTitle = 1377;  // group box
constexpr int kXEnable = 1435;
constexpr int kXMarker1 = 1428, kXMarker2 = 1429, kXDelta = 1430;
constexpr int kXTime = 1389, kXSpeed = 1363, kXTorque = 1364, kXPower = 1366;
constexpr int kXTorqueUnit = 1365, kXPowerUnit = 1367;
constexpr int kXTimeUnit = 1390, kXSpeedUnit = 1368;  // "Sec." and "RPM"

// FFT Y panel.
constexpr int kFftYTitle = 1467;
constexpr int kFftYZoom = 1468;
constexpr int kFftYSet = 1469;
constexpr int kFftYTotalEnergy = 1473, kFftYDcValue = 1483, kFftYFloor = 1485;
constexpr int kFftYEvenSymErr = 1477, kFftYOddSymErr = 1480;
constexpr int kFftYMarker1On = 1470, kFftYMarker2On = 1474;
constexpr int kFftYM1Ampl = 1471, kFftYM1dB = 1472;
constexpr int kFftYM2Ampl = 1475, kFftYM2dB = 1476;
constexpr int kFftYVarAmpl = 1481, kFftYVardB = 1482;

// FFT X panel.
constexpr int kFftXTitle = 1375;
constexpr int kFftXFc = 1474, kFftXCount = 1475;
constexpr int kFftXMarker1On = 1454, kFftXMarker2On = 1459;
constexpr int kFftXM1Line = 1450, kFftXM1Freq = 1452, kFftXM1Ampl = 1455, kFftXM1dB = 1456;
constexpr int kFftXM2Line = 1451, kFftXM2Freq = 1453, kFftXM2Ampl = 1460, kFftXM2dB = 1461;
constexpr int kFftXVarLines = 1458, kFftXVarFreq = 1464, kFftXVarAmpl = 1465,
              kFftXVardB = 1467;
// The order of each marker's line and their difference in orders.
constexpr int kFftXM1Order = 4101, kFftXM2Order = 4102, kFftXVarOrder = 4103;

// Display settings (modal).
constexpr int kDlgDisplaySettings = 146;
constexpr int kRadioShowFft = 1449;
constexpr int kRadioShow3RpmFilt = 1400;
constexpr int kRadioShow3RpmInst = 1401;
constexpr int kRadioShowRpmFilt = 1402;
constexpr int kRadioShowRpmInst = 1403;
constexpr int kRadioShowTorque = 1404;
constexpr int kRadioShowPower = 1405;
constexpr int kCheckSpectralLines = 1479;
constexpr int kCheckHarmonics = 1480;
constexpr int kCheckHarmonicPeaks = 1482;
constexpr int kCheckCleanSpectrum = 1481;
// Options of the time and FFT graphs' drawing.
constexpr int kCheckFitToData = 4111;
constexpr int kCheckRulers = 4112;

}  // namespace tz::res
