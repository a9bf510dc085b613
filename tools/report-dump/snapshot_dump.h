// The snapshot as text: every field as key=value, one a line.
#pragma once

#include <cstdio>

void DumpSnapshot(std::FILE* out);
