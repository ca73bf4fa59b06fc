#pragma once
// Character classes shared by the engine's two text scanners, CUtil's and the definition-text
// parser's, so that both agree on what a blank, a line end and a digit are.

// A blank between words: space, tab or either line-end character.
inline bool IsBlankChar(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
inline bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
// A character of a name: an ASCII letter, a digit or an underscore.
inline bool IsIdentChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// The value of c as a digit of the base (2 to 16): 0-9, then a-f or A-F; -1 when c is not one.
inline int DigitValue(char c, int base)
{
    int digit = -1;
    if (c >= '0' && c <= '9')
        digit = c - '0';
    else if (c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
    return digit < base ? digit : -1;
}
