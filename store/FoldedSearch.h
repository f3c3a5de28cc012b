#pragma once

struct sqlite3;

// The SQL function FOLDED_INSTR(text, typed): as instr(), the 1-based place of typed in text, or 0, but with
// both folded as the operator's search compares callsigns: letter case ignored, and every Cyrillic letter
// with a Latin twin in Morse taken as that letter. A callsign typed in either keyboard layout is found so.
// Null when either is null.
inline constexpr char kFoldedInstr[] = "FOLDED_INSTR";

void registerFoldedSearch(sqlite3* db);
