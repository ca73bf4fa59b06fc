#pragma once
// The template kinds that screens are built from, beside the engine's plain frame (1) and
// window (0x31): 5 the image window, 8 and 9 text frames (by string reference, and with the
// text written in the template) and 14 the modal frame.
void RegisterScreenTemplateKinds();
