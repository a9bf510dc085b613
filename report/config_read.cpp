#include "report/config_read.h"

#include "report/config_snapshot.h"
#include "report/report_scanner.h"
#include "runner/ipconfig_commands.h"
#include "runner/run_captured.h"
#include "runner/text_area.h"

namespace {

// Counts completed reads, so a read can tell that another one finished inside its
// own report run (dispatched by the runner's message pump).
unsigned completedReads = 0;

}  // namespace

void ParseReport() {
  ResetSnapshot();
  const unsigned readsBefore = completedReads;
  char area[TEXT_AREA_SIZE];
  RunCaptured(IPCONFIG_ALL, area, TEXT_AREA_SIZE);
  if (completedReads == readsBefore) ScanReport(area);
  ++completedReads;
}
