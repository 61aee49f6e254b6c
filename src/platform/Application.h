#pragma once
// The program's message loop. Win32: GetMessage until WM_QUIT. Natively: the virtual main
// loop (host/HostLoop.h) until TerminateApplication or a time limit (host/HostShell.h).
namespace platform {

void RunApplication();
// Ends RunApplication once the current message is handled (main thread).
void TerminateApplication();
bool ApplicationTerminated();

}  // namespace platform
