// report-dump FILE: shows what the program reads from a stored "ipconfig /all"
// report. It scans the file's first 32,767 bytes into an empty snapshot and prints
// every field.
#include <cstdio>

#include "report/config_snapshot.h"
#include "report/report_scanner.h"
#include "runner/text_area.h"
#include "tools/report-dump/snapshot_dump.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: report-dump FILE\n");
    return 2;
  }
  static char area[TEXT_AREA_SIZE];
  std::FILE* file = std::fopen(argv[1], "rb");
  if (file == nullptr) {
    std::fprintf(stderr, "report-dump: cannot read %s\n", argv[1]);
    return 2;
  }
  std::size_t length = std::fread(area, 1, sizeof area - 1, file);
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    std::fprintf(stderr, "report-dump: cannot read %s\n", argv[1]);
    return 2;
  }
  area[length] = '\0';
  ResetSnapshot();
  ScanReport(area);
  DumpSnapshot(stdout);
  return 0;
}
