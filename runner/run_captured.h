// Runs a console command line hidden and catches its standard output, keeping the
// windows of the calling thread alive while it waits.
#pragma once

#include <cstdint>

constexpr int PIPE_CHUNK_SIZE = 8192;

// How many commands may be running at once, nested through the message pump. Each
// level holds text areas on the one 1 MiB stack, so a press that would go deeper
// does nothing.
constexpr int MAX_COMMANDS_IN_FLIGHT = 8;

// Runs commandLine (left unchanged) and collects its output into area, which holds
// limit bytes: at most limit - 1 bytes are kept, then a NUL; the rest of the output
// is read and thrown away. Nothing collected (no pipe, no child, no output) leaves
// an empty string. The command line may lie in the area itself.
void RunCaptured(const char* commandLine, char* area, std::int32_t limit);

// True while a press may start one more command without passing the bound, and no
// quit request is waiting for the main loop.
bool MayStartCommand();
