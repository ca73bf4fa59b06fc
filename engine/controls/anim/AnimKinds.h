#pragma once
// The template kinds of the animated elements: 0x30 the sequence element.
void RegisterAnimTemplateKinds();
