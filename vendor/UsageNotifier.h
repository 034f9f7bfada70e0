// The start and exit notifications: one HTTP HEAD request each to the vendor's web host, sent
// from a short thread of its own whose reply nobody waits for. Win32 only; the launchers run on
// the user-interface thread, the routines on their own threads.
#pragma once

#include <windows.h>

// Thread routines. Each takes ownership of the copies of the host and URL that its launcher
// handed over as the parameter, sends one request, frees the copies and returns 0.
DWORD WINAPI StartNotification(LPVOID copies);
DWORD WINAPI ExitNotification(LPVOID copies);

// Start-up: runs StartNotification on a new thread and keeps its handle in
// NotificationThreadHandle. Call after AppendUsageDays, so that the URL carries its suffix.
void LaunchStartNotification();

// First step of teardown: runs ExitNotification on a new thread, closes the handle of the
// start notification and keeps the new handle in NotificationThreadHandle.
void LaunchExitNotification();

// After the message loop has ended, with the window gone: returns once the exit notification's
// request has been sent or has failed, or after two seconds at most. The reply is never
// awaited. Without it, ending the process usually cut the request off before it was sent.
void AwaitExitRequestSent();
