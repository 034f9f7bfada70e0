#include "vendor/UsageNotifier.h"

#include <wininet.h>

#include <memory>
#include <new>
#include <string>

#include "common/Identity.h"
#include "common/WideText.h"
#include "vendor/VendorLinks.h"
#include "window/MainWindow.h"

namespace {

// What a notification thread works on. The launcher allocates it, the thread deletes it:
// the process-wide strings may be destroyed at exit while the thread is still sending.
struct NotificationCopies {
    std::u16string host;
    std::u16string url;
    bool signalsExitRequestSent; // the exit notification's, which the end of the process awaits
};

constexpr wchar_t NotificationAgent[] = L"Sendarix notification agent";

// How long the ended program lingers at most for the exit request to go out.
constexpr DWORD ExitRequestGraceMilliseconds = 2000;

// Set once the exit notification's request has been sent or its routine has ended. Created by
// LaunchExitNotification; never closed, since the process ends right after waiting for it.
HANDLE ExitRequestSent = nullptr;

// WinINet status callback of the exit notification, called on its thread: the request has
// been written to the connection, so ending the process no longer loses it.
void CALLBACK SignalExitRequestSent(HINTERNET, DWORD_PTR, DWORD status, LPVOID, DWORD)
{
    if (status == INTERNET_STATUS_REQUEST_SENT)
        SetEvent(ExitRequestSent);
}

// One HEAD request whose object name is the whole URL; the reply is never read.
void SendHeadRequest(const NotificationCopies& copies)
{
    HINTERNET internet = InternetOpenW(NotificationAgent, INTERNET_OPEN_TYPE_PRECONFIG,
                                       nullptr, nullptr, 0);
    if (internet == nullptr)
        return;
    if (copies.signalsExitRequestSent)
        InternetSetStatusCallbackW(internet, SignalExitRequestSent);
    HINTERNET connection = InternetConnectW(internet, Wide(copies.host), INTERNET_DEFAULT_HTTP_PORT,
                                            nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 1);
    if (connection == nullptr) {
        InternetCloseHandle(internet);
        return;
    }
    HINTERNET request = HttpOpenRequestW(connection, L"HEAD", Wide(copies.url), nullptr, nullptr,
                                         nullptr, INTERNET_FLAG_KEEP_CONNECTION, 1);
    if (request == nullptr) {
        InternetCloseHandle(connection);
        InternetCloseHandle(internet);
        return;
    }
    HttpSendRequestW(request, nullptr, 0, nullptr, 0);
    InternetCloseHandle(request);
    InternetCloseHandle(connection);
    InternetCloseHandle(internet);
}

DWORD RunNotification(LPVOID parameter)
{
    std::unique_ptr<NotificationCopies> copies(static_cast<NotificationCopies*>(parameter));
    SendHeadRequest(*copies);
    if (copies->signalsExitRequestSent)
        SetEvent(ExitRequestSent);
    return 0;
}

// A thread for `routine` with fresh copies of the host and `url`; null when either the copies
// or the thread cannot be had, in which case the notification is simply not sent.
HANDLE LaunchNotification(LPTHREAD_START_ROUTINE routine, const std::u16string& url,
                          bool signalsExitRequestSent)
{
    NotificationCopies* copies = nullptr;
    try {
        copies = new NotificationCopies{VendorHost, url, signalsExitRequestSent};
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, routine, copies, 0, &threadId);
    if (thread == nullptr)
        delete copies;
    return thread;
}

} // namespace

DWORD WINAPI StartNotification(LPVOID copies)
{
    return RunNotification(copies);
}

DWORD WINAPI ExitNotification(LPVOID copies)
{
    return RunNotification(copies);
}

void LaunchStartNotification()
{
    NotificationThreadHandle = LaunchNotification(StartNotification, HomeUrl, false);
}

void LaunchExitNotification()
{
    ExitRequestSent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE exitThread = LaunchNotification(ExitNotification, SessionCompletedUrl, ExitRequestSent != nullptr);
    if (exitThread == nullptr && ExitRequestSent != nullptr) {
        CloseHandle(ExitRequestSent);
        ExitRequestSent = nullptr;
    }
    if (NotificationThreadHandle != nullptr)
        CloseHandle(NotificationThreadHandle);
    NotificationThreadHandle = exitThread;
}

void AwaitExitRequestSent()
{
    if (ExitRequestSent != nullptr)
        WaitForSingleObject(ExitRequestSent, ExitRequestGraceMilliseconds);
}
