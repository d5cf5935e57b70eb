#include "run/input_format.h"

#include <initializer_list>

#include "processing/vbt_reader.h"
#include "reprocess/reprocess_input.h"

namespace tz {

const InputFormat kVbtInput = {InputKind::Vbt,   "VBT file Check",  "VBT preprocessor",
                               kVbtSampleState,  &ParseHeaderLine,  &ParseSampleLine,
                               true};
const InputFormat kTdmInput = {InputKind::Tdm,     "TDM file Check",     "TDM preprocessor",
                               kTdmSampleState,    &ParseTdmHeaderLine, &ParseAppendedSampleLine,
                               false};
const InputFormat kFdmInput = {InputKind::Fdm,     "FDM file Check",     "FDM preprocessor",
                               kFdmSampleState,    &ParseFdmHeaderLine, &ParseAppendedSampleLine,
                               false};

const InputFormat* FormatOf(InputKind kind) {
  for (const InputFormat* f : {&kVbtInput, &kTdmInput, &kFdmInput})
    if (f->kind == kind) return f;
  return nullptr;
}

}  // namespace tz
