/* Hidden message windows with per-thread queues (POSIX stand-in for the window manager's
 * message functions). A window belongs to the thread that created it; a message posted to
 * it from any thread waits in that thread's queue until the thread peeks and dispatches it.
 * Plain C so that separately built libraries (the composition engine) can use it. */
#ifndef RDWINMSG_H
#define RDWINMSG_H

#include <stdint.h>
#include <wchar.h>

#if defined(RDWINMSG_BUILDING)
#define RDWINMSG_API __attribute__((visibility("default")))
#else
#define RDWINMSG_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef uintptr_t RdHwnd;
typedef intptr_t (*RdWndProc)(RdHwnd hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam);
typedef void (*RdWakeCallback)(void* context);

typedef struct RdMsg {
    RdHwnd hwnd;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
} RdMsg;

/* Returns 1 on success, 0 when the class exists already or an argument is missing. */
RDWINMSG_API int RdRegisterClass(const wchar_t* className, RdWndProc procedure);
RDWINMSG_API int RdUnregisterClass(const wchar_t* className);

/* Creates a hidden window owned by the calling thread; 0 when the class is unknown. */
RDWINMSG_API RdHwnd RdCreateWindow(const wchar_t* className, const wchar_t* title);
/* Destroys a window; messages still queued for it are dropped. */
RDWINMSG_API int RdDestroyWindow(RdHwnd hwnd);
RDWINMSG_API int RdIsWindow(RdHwnd hwnd);
RDWINMSG_API RdHwnd RdFindWindow(const wchar_t* className, const wchar_t* title);

/* Queues a message for the thread that owns the window; 0 when the window does not exist. */
RDWINMSG_API int RdPostMessage(RdHwnd hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam);

/* Takes the oldest message of the calling thread's queue; 0 when the queue is empty.
 * With remove 0 the message stays queued. */
RDWINMSG_API int RdPeekMessage(RdMsg* msg, int remove);
/* Waits until the calling thread's queue holds a message or the time has passed;
 * 1 when a message is waiting. */
RDWINMSG_API int RdWaitMessage(unsigned timeoutMs);
/* Calls the procedure of the message's window, if that window still exists. */
RDWINMSG_API intptr_t RdDispatchMessage(const RdMsg* msg);
RDWINMSG_API intptr_t RdDefWindowProc(RdHwnd hwnd, uint32_t message, uintptr_t wParam,
                                      intptr_t lParam);

/* Called, on the posting thread, each time a message is queued for the calling thread.
 * A GUI loop uses it to schedule a pump on its own thread. Pass 0 to remove it. */
RDWINMSG_API void RdSetWakeCallback(RdWakeCallback callback, void* context);

#ifdef __cplusplus
}
#endif

#endif
