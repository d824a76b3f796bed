// The installer's start-up sequence and crash filter.
#pragma once

// The entry point's steps in order; returns 0 after a normal run and -1 when
// another instance holds the single-instance lock (nothing else happens
// then: no window, no tracker, no libcurl clean-up).
// instance: the module instance handle on Windows, null elsewhere.
int RunInstaller(void* instance);

// The last-chance crash report: the task event "崩溃退出" and the crash
// event "崩溃". Runs on the faulting thread.
void CrashFilter();

inline constexpr wchar_t kSingleInstanceName[] = L"Installer_Tarnvell";
