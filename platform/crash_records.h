// Crash records: one small text file per crashed process, written by the
// crash handler and taken, once, at a later start.
//
// A record is "crash-<pid>.record" in the record folder and holds the lines
// "signal=<decimal>" and "ip=0x<hex>" (the instruction the signal
// interrupted; 0 when unknown).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CrashRecord {
    int signal = 0;
    std::uintptr_t instruction = 0;
};

// $XDG_DATA_HOME/Tevrako/crashes (by default ~/.local/share/Tevrako/crashes).
std::string crashRecordFolder();

// Removes every record in folder and returns those that could be read,
// in name order. A record is claimed by renaming it first, so when two
// starts run at once each record is taken by exactly one of them.
// Unreadable records are removed and left out; a missing folder gives none.
std::vector<CrashRecord> takeCrashRecords(const std::string& folder);
