#pragma once
// Every template kind the engine's windows, screens and controls give, registered with the
// registrar in one call: what a template list needs to build any screen. It lives above every
// family of controls, so each family keeps its own registration function.
void RegisterAllTemplateKinds();
