#pragma once
// The template kinds of the image-drawn controls: 0x10 and 0x11 image buttons, 0x12 the image
// switch, 0x13 the image radio button, 0x14 and 0x15 background image buttons, 0x16-0x19 image
// buttons with a text label (by string reference or written in the template) and 0x2a the image
// scroll bar. The second kind of each button pair makes its window's default button.
void RegisterImageControlKinds();
