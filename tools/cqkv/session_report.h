// SPDX-License-Identifier: MIT
// The JSON line of what one step of a replayed session did.
#pragma once

#include <string>

#include "testing/step_report.h"

namespace kv {

// One JSON object on one line, with the fields "token", "handled", "marked", "inserted",
// "beeps", "panel" ("visible", "mode", "items", "selected", "pageStart", "page", "follow"),
// "keyboard" ("visible", "requested"), "windows" and "settings" (each key written once, with its
// last value).
std::string stepReportJson(const StepReport& report);

}  // namespace kv
