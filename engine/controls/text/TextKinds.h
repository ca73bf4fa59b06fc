#pragma once
// Registers the template kinds of the text elements: the scroll list, 0xa (text by string-list
// reference) and 0xb (text written in the template).
void RegisterTextTemplateKinds();
