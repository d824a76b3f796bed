// The installer's usage reporting.
//
// Every function runs on the calling thread and does nothing at all when
// InstallerConfig.IsEnableAppAnalytics is false or no tracker exists (not
// created yet, or already released); none fails its caller. Click, view and
// task events queue their record and return at once; TrackCrash sends what
// is queued and may block for a few seconds (bounded, see below).
// TrackTaskEvent and TrackCrash may be called from the crash handler on any
// thread, inside a CrashReportingScope.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "orchestrator_notice.h"
#include "tracker/crash_scope.h"
#include "tracker/kv_context_properties.h"

// The A/B context attached to click, view and task events: {"AB" -> value}.
using AbContext = std::map<std::wstring, std::wstring>;

// {"AB" -> InstallerConfig.AbValue}.
AbContext DefaultAbContext();

// On the crash path the faulting thread may hold the tracker's locks: while
// this scope lives, the thread's reporting calls take them by try-lock with
// a short deadline, and what cannot be sent is staged on disk for the next
// run. Same thread for construction and destruction.
using CrashReportingScope = kelvo::tracker::CrashReportScope;

// Creates the process-wide tracker from InstallerConfig when reporting is
// enabled; the collection URL may be overridden by "Install"/"AnalyticsUrl"
// of the INI file beside the executable. Main thread, once.
void StartTracker();
// The same with the URL override read from the given INI file.
void StartTrackerWithIni(const std::wstring& iniPath);
// "Install"/"AnalyticsUrl" of the INI file, UTF-8; empty when absent.
std::string AnalyticsUrlFromIni(const std::wstring& iniPath);
// Releases the process-wide tracker, which flushes what is queued and
// stages what cannot be sent. Main thread, once; blocks while the flush runs.
void ReleaseTracker();

// True when a tracker exists and reporting is enabled.
bool IsReportingActive();

// A context-properties object holding "kvc_ab" for the given kinds when the
// context's "AB" value passes the A/B value check; otherwise empty.
kelvo::tracker::KvContextProperties ApplyAbContext(
    const AbContext& context, const std::vector<kelvo::tracker::KvEventType>& kinds);

void TrackTaskEvent(const std::wstring& name, float value, const std::wstring& detail,
                    const AbContext& context);
void TrackClickEvent(const std::wstring& name, const AbContext& context);
void TrackViewEvent(const std::wstring& name, const AbContext& context);
void TrackCrash(const std::wstring& reason);

// ":1.code=<value>；2.msg=<text>", at most 199 characters.
std::wstring FailureReasonText(const OrchestratorNotice& notice);
// Sends FailureReasonText as "下载失败原因" (download) or "安装失败原因".
void ReportFailureReason(const OrchestratorNotice& notice, bool download);

// The five-item diagnosis of a failed download (code 1004): code and text,
// free space of the package's drive in GiB, whether the package path can be
// written, the network probe's answer. Creates and deletes a file at
// packagePath to test writing; runs the network probe (blocks briefly).
std::wstring DownloadFailureText(const OrchestratorNotice& notice, const std::wstring& packagePath);
void ReportDownloadFailure(const OrchestratorNotice& notice, const std::wstring& packagePath);
