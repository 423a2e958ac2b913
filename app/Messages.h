// The program's registered window messages. All carry lParam 0 and their handlers return 0.
#pragma once

#include <windows.h>

// Posted by the receive thread when it queued samples and no notice was pending; wParam 0.
extern const UINT MSG_81577DB4;
// Posted by the receive thread after queueing a text in the event channel; wParam 0 link event,
// 1 time line from the recorder.
extern const UINT MSG_ADA8E3B9;
// Posted by an import after it filled the rings; wParam 0.
extern const UINT MSG_9388BF10;
// The graphs' messages to their monitors: graphs/GraphMessages.h.
// From other programs: start or stop a measurement; wParam ignored.
extern const UINT MSG_C501B7B2;

// Private: the receive thread switched to another port. Posted; the new name waits in
// theApp.linkEvents, which the main window stores as [SPEC] COM. No parameters.
constexpr UINT kMsgPortChanged = WM_APP + 20;
// Private: a recording has a message for the operator, queued in the control panel. Posted to the
// panel, so a file error found inside the data handler never holds the handler up; wParam 0.
constexpr UINT kMsgRecordingMessage = WM_APP + 40;

// Names the mutex and the main window's property by which a second start finds the first.
extern const char kInstanceName[];
