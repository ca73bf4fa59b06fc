#pragma once
// Fills the application's hooks that belong to graphics: the palette made from a colour
// table resource, the font table built from the font list at start and deleted at the end,
// and the printer drawing environment of print jobs. A program calls it before it makes its
// application.
void InstallGraphicsHooks();
