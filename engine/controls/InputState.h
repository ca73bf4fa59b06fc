#pragma once
// The window layer's input records, one of each per program: the frame under the mouse
// (the hover frame), the frame that took the last press and holds the mouse until the
// release (the capture object), and whether the help popup is switched on.
class CFrame;

CFrame* GetHoverFrame();
// Only the window's mouse routing sets the hover frame (CWind::SetHoverFrame); this sets the
// record alone.
void SetHoverFrameRecord(CFrame* frame);
CFrame* GetCaptureObj();
void SetCaptureObj(CFrame* frame);
// Clears the capture object and releases the native mouse capture.
void ReleaseCaptureObj();

bool IsPopupHelpOn();
void SetPopupHelp(bool on);

// Removes every record that names the frame (hover, capture, a window's last press, the key
// focus, a window's focus, default and cancel control); used when a frame goes away.
void ForgetFrameInput(CFrame* frame);

// Puts the records back to their start state (tests).
void ResetInputState();
