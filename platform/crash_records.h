// Crash records: one small text file per crashed process, written by the
// crash handler and taken, once, at a later start.
//
// A record is "crash-<pid>.record" in the record folder and holds the lines
// "signal=<decimal>" and "ip=0x<hex>" (the instruction the signal
// interrupted; 0 when unknown).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The longest record the handler writes: "signal=" with two digits
// (signals end at 64), "\nip=0x" with the address in full, "\n". Nothing
// longer is read as a record.
constexpr std::size_t kCrashRecordMaxBytes = 7 + 2 + 6 + 2 * sizeof(std::uintptr_t) + 1;

struct CrashRecord {
    int signal = 0;
    std::uintptr_t instruction = 0;
};

// $XDG_DATA_HOME/Tevrako/crashes (by default ~/.local/share/Tevrako/crashes),
// made here; empty when it or the data folder is not the user's alone
// (see platform/data_folder.h).
std::string crashRecordFolder();

// Removes every record in folder and returns those that could be read,
// in name order. A record is claimed by renaming it first, so when two
// starts run at once each record is taken by exactly one of them.
// Only regular files of this user's, at most kCrashRecordMaxBytes long,
// are read; the others are removed and left out, unread. A folder the
// handler would refuse (missing, a link, another user's) gives none and
// is left as it is; one of the user's that others may reach is made
// private first.
std::vector<CrashRecord> takeCrashRecords(const std::string& folder);
