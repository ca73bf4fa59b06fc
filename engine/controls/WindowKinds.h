#pragma once
// The template kinds of titled windows, each a window template that a template list builds
// as its window: 0x32/0x33 top-level windows, 0x34/0x35 modal dialogs, 0x36/0x37 text
// windows (the first of each pair names its title in a string list, the second writes it in
// the template).
void RegisterWindowTemplateKinds();
