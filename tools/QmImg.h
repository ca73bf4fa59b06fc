#pragma once
// qmimg, the image tool: writes the engine's picture resources from indexed PNG files and
// shows what the engine decodes from a library.
//
//   qmimg clt PALETTE.png OUT      the colour table "CLT" from the PNG's palette
//   qmimg cbm IN.png... OUT        a picture strip "CBM", every frame coded whole
//   qmimg imv IN.png... OUT        an image strip "IMV": frame 0 whole, later frames holding
//                                  the tiles that change (all frames of frame 0's size)
//   qmimg rls IN.png... OUT        a run-length sprite "RLS", one cel per PNG
//   qmimg show LIBRARY TYPE NUMBER [--frame N] [--palette ID] OUT.png
//                                  frame or cel N as the engine decodes it, as an indexed PNG
//
// Pixels are palette indices of the engine's global palette. Errors are one line on the error
// stream and exit status 1.
#include <iosfwd>
#include <string>
#include <vector>

// Runs the tool on its arguments (without the program name); returns the exit status.
int RunQmImg(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
