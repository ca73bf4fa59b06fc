#pragma once
// Fills the application's hooks that belong to graphics: the palette made from a colour
// table resource, and the font table built from the font list at start and deleted at the
// end. A program calls it before it makes its application.
void InstallGraphicsHooks();
