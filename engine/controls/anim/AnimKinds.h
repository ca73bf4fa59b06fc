#pragma once
// The template kinds of the animated elements: 6 the scrolling text, 7 the image strip
// animation and 0x30 the sequence element.
void RegisterAnimTemplateKinds();
