#pragma once
// The template kinds of the engine-drawn controls: 0x0f the push control, 0x0c and 0x0d
// captions, 0x22 and 0x23 text buttons (text by string reference, and written in the
// template) and 0x2c the scroll bar.
void RegisterInputTemplateKinds();
