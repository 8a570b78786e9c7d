// Failure reports: where a failure happened and what it said, sent to the
// service host, or appended to the local log file when no service host is
// set or it cannot be reached.
#pragma once

#include <string>

// where: a short ASCII name of the failing place ("thread_make_video",
// "AppCrash", ...); message: UTF-8 text. Blocks for one request at most.
void sendErrorReport(const char* where, const char* message);

// The local log: $XDG_STATE_HOME/Tevrako/error_report.log (by default
// ~/.local/state/Tevrako/error_report.log).
std::string errorReportLogPath();
