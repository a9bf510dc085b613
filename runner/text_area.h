// A text area: a caller-owned buffer holding one NUL-terminated 8-bit string, used
// first for a command line and then for the command's captured output.
#pragma once

constexpr int TEXT_AREA_SIZE = 32768;
