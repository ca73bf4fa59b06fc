#pragma once
// qmseq, the sequence tool: writes "SEQ" sequences and "CEL" cel tables from text and prints
// those of a library as the same text.
//
//   qmseq seq TEXT OUT                 # lines "anim FIRST NEXT TICKS COUNT" and
//                                      # "frame CEL DH DV SOUND TICKS DZ", in any mix
//   qmseq cel TEXT OUT                 # lines "anchor H V"
//   qmseq show LIBRARY TYPE NUMBER     # TYPE SEQ or CEL, printed in those lines
//
// Values are decimal, -32768..32767, separated by blanks or tabs; '#' starts a comment and
// blank lines are skipped. A "SEQ" is the animation count, the anim lines in order, the frame
// count and the frame lines in order; a "CEL" the count and the anchors; every value a
// big-endian 16-bit number. `show` prints the anim lines first, and packing its output gives
// the counted bytes again. Errors are one line on the error stream and exit status 1; OUT is
// written only on success.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

// Runs the tool on its arguments (without the program name); returns the exit status.
int RunQmSeq(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The resource bytes of the text of a "SEQ" (cel false) or a "CEL" (cel true); throws
// std::runtime_error naming the line of the first fault.
std::vector<uint8_t> PackSeqText(const std::string& text, bool cel, const std::string& name);
// The text of a resource's bytes; throws std::runtime_error when the counts are negative or
// the block is shorter than they say.
std::string ShowSeqBytes(const std::vector<uint8_t>& bytes, bool cel);
