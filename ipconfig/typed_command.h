// How the tool's command line was typed. A console passes "ipconfig/all" on as one word,
// the program's name with an option run on; the system's ipconfig reads that as /all.
#pragma once

#include <cstddef>

// The part of typed (length bytes, the program's name as typed, without quotes) that names
// the program, whose file is fileName ("ipconfig.exe"): all of it, or the part before a '/'
// where an option runs on. Forward slashes inside a path ("C:/tools/ipconfig.exe") are
// the path's own: an option starts only at a '/' that follows the file's name, with or
// without its extension.
std::size_t ProgramNameLength(const char* typed, std::size_t length, const char* fileName);

// The arguments as typed on commandLine: what follows the program's name, which may be
// quoted or have an option run on, and the blanks after it.
const char* TypedArguments(const char* commandLine, const char* fileName);
