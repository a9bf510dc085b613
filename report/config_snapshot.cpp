#include "report/config_snapshot.h"

ConfigSnapshot configSnapshot;

void ResetSnapshot() {
  for (char* field : hostFields) field[0] = '\0';
  for (int slot = ADAPTER_SLOTS - 1; slot >= 0; --slot) {
    configSnapshot.adapters.name[slot][0] = '\0';
    configSnapshot.adapters.description[slot][0] = '\0';
    for (auto table : adapterSettings) table[slot][0] = '\0';
  }
  configSnapshot.adapterCount = 0;
}
