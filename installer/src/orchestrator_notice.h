// OrchestratorNotice: one notification of the install driver, as the
// window's callback posts it to the UI thread (heap-allocated there, freed
// by the window after handling).
#pragma once

#include <cstdint>
#include <string>

struct OrchestratorNotice {
  int32_t code = 0;   // DL_CODE_*, installation or removal code
  double value = 0;   // progress fraction or failure kind
  std::wstring text;  // detail text
};
