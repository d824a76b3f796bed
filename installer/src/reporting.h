// The installer's usage reporting.
//
// Every function runs on the calling thread and does nothing at all when
// InstallerConfig.IsEnableAppAnalytics is false or no tracker exists (not
// created yet, or already released). Until the tracker library is linked in,
// no tracker is ever created, so every call is a no-op with its final
// signature. TrackTaskEvent and TrackCrash may be called from the crash
// handler, on any thread.
#pragma once

#include <map>
#include <string>

// The A/B context attached to click, view and task events: {"AB" -> value}.
using AbContext = std::map<std::wstring, std::wstring>;

// {"AB" -> InstallerConfig.AbValue}.
AbContext DefaultAbContext();

// Creates the process-wide tracker from InstallerConfig when reporting is
// enabled. Main thread, once.
void StartTracker();
// Releases the process-wide tracker, which flushes what is queued. Main
// thread, once; blocks while the flush runs.
void ReleaseTracker();

void TrackTaskEvent(const std::wstring& name, float value, const std::wstring& detail,
                    const AbContext& context);
void TrackClickEvent(const std::wstring& name, const AbContext& context);
void TrackViewEvent(const std::wstring& name, const AbContext& context);
void TrackCrash(const std::wstring& reason);

// True when a tracker exists and reporting is enabled.
bool IsReportingActive();
