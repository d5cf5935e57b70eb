// The rules of the FFT window and FFT source dialogs, without their windows.
#pragma once

#include <span>

#include "processing/analysis_record.h"
#include "processing/codes.h"

namespace tz {

// Value of the choice that radio buttons in id order show: the default, then
// the value (position) of each checked button in turn, so the last checked
// one wins and none checked gives the default.
int ReadRadioChoice(std::span<const bool> checked, int defaultValue);

FftWindow ReadFftWindowChoice(std::span<const bool> checked);  // default Hamming
FftSource ReadFftSourceChoice(std::span<const bool> checked);  // default Torque

// OK without the window: stores the choice and keeps the filtering settings
// in force for the run that follows (UseFilterDefaults = 0).
void ConfirmFftWindow(AnalysisRecord& r, FftWindow w);
void ConfirmFftSource(AnalysisRecord& r, FftSource s);

// The choices in force, as the position of the button to check.
int CurrentFftWindow(const AnalysisRecord& r);
int CurrentFftSource(const AnalysisRecord& r);

}  // namespace tz
