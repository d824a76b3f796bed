// Reporting entry points. The tracker library is not part of the build yet:
// no tracker is ever created, and every report is dropped here.
#include "reporting.h"

#include "installer_config.h"

AbContext DefaultAbContext() { return AbContext{{L"AB", InstallerConfig.AbValue}}; }

bool IsReportingActive() { return false; }

void StartTracker() {}

void ReleaseTracker() {}

void TrackTaskEvent(const std::wstring& name, float value, const std::wstring& detail,
                    const AbContext& context) {
  if (!IsReportingActive()) return;
}

void TrackClickEvent(const std::wstring& name, const AbContext& context) {
  if (!IsReportingActive()) return;
}

void TrackViewEvent(const std::wstring& name, const AbContext& context) {
  if (!IsReportingActive()) return;
}

void TrackCrash(const std::wstring& reason) {
  if (!IsReportingActive()) return;
}
