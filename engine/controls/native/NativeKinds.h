#pragma once
// Registers the template kinds of the widget controls and the elements beside them.
void RegisterNativeTemplateKinds();
