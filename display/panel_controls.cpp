#include "display/panel_controls.h"

#include <utility>

#include "display/format_decimals.h"

namespace tz {

void AddChanges(ControlOps& ops, PanelId p, std::initializer_list<int> ids, ControlOp::Kind kind) {
  for (int id : ids) ops.push_back({p, id, kind, {}});
}

void AddText(ControlOps& ops, PanelId p, int id, double value, int decimals) {
  ops.push_back({p, id, ControlOp::SetText, FormatDecimals(value, decimals)});
}

void AddText(ControlOps& ops, PanelId p, int id, std::string text) {
  ops.push_back({p, id, ControlOp::SetText, std::move(text)});
}

}  // namespace tz
