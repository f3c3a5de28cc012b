#pragma once

// An SQLite file layer over the default one whose writes start failing, as on a full disk, once a
// budget of bytes is spent. Register it once, open a Database with kName, then arm and heal it.
namespace FailingVfs
{
constexpr const char* kName = "tourlog-failing";

void registerOnce();
// writes after the next `bytes` bytes fail with SQLITE_FULL
void failAfter(long long bytes);
void heal();
// how many writes were refused since the last heal
int refusedWrites();
} // namespace FailingVfs
