#pragma once
// CUtil: free-standing helpers shared by the whole program: trigonometry in degrees, the one
// random number generator every game decision draws from, rounding, distinct picks, an
// overlap-safe byte copy, a scanner for hand-written text, and appenders that grow a memory
// block by one big-endian value at a time.
#include <cstdint>
#include <functional>

class CMemory;

class CUtil {
public:
    CUtil() = delete;

    // Sine and cosine of an angle in degrees; results of magnitude below 0.0001 are 0.0.
    static double SinDeg(double degrees);
    static double CosDeg(double degrees);

    // An integer in [lo, hi], the truncated mean of n draws; lo when hi < lo. The first call
    // seeds the generator from the clock unless a seed was set.
    static int32_t Random(int32_t lo, int32_t hi, int32_t n = 1);
    // Starts the generator from a fixed seed, so a run can be replayed.
    static void SetRandomSeed(uint32_t seed);
    // Back to the start state: unseeded, with no draw source.
    static void ResetRandom();
    // Replaces the generator for the draws of Random (lo, hi, n): tests script the draws a
    // rule makes. An inverted range still answers lo without asking the source. Null puts
    // the generator back.
    using DrawSource = std::function<int32_t(int32_t lo, int32_t hi, int32_t n)>;
    static void SetDrawSource(DrawSource source);

    // The nearest whole number, halves upwards (2.5 gives 3, -2.5 gives -2).
    static double RoundHalfUp(double x);
    // count different numbers from [lo, hi] into out[0 .. count-1], in the order picked.
    // count is cut to the size of the range.
    static void PickDistinct(int16_t lo, int16_t hi, int16_t count, int16_t* out);
    // Copies n bytes; overlapping ranges are handled.
    static void MoveBytes(const void* source, void* destination, int32_t n);

    // ---- Text scanning: each function returns the position after what it consumed. ----

    struct EnumEntry {
        const char* name;
        int16_t value;
    };

    // Skips blanks (space, tab, LF, CR), "#" and "//" line comments and "/* */" comments.
    static const char* SkipBlanksAndComments(const char* p);
    // Reads a number: optional sign, optional base prefix h (16) or b (2), another optional
    // sign, digits; "%" after decimal digits is consumed. value is the magnitude and
    // negative the sign. A first character that is no digit gives error 1 and leaves the
    // position at the start; with report set, the message is handed to the diagnostics.
    static const char* ReadANum(const char* p, int32_t* value, bool* negative, const char* label,
                                int16_t* error, bool report);
    // Typed readers over ReadANum; error may be null (then a bad number is reported). The
    // unsigned readers ignore a minus sign; the value is cut to the width of the type.
    static const char* ReadUByte(const char* p, uint8_t* out, const char* label, int16_t* error);
    static const char* ReadUShort(const char* p, uint16_t* out, const char* label, int16_t* error);
    static const char* ReadULong(const char* p, uint32_t* out, const char* label, int16_t* error);
    static const char* ReadByte(const char* p, int8_t* out, const char* label, int16_t* error);
    static const char* ReadShort(const char* p, int16_t* out, const char* label, int16_t* error);
    static const char* ReadLong(const char* p, int32_t* out, const char* label, int16_t* error);

    // A word or a quoted string into out, at most max characters, no terminator. A
    // backslash takes the next character as it is (a backslash before a line end joins).
    static const char* ReadToken(const char* p, char* out, int16_t max, int16_t* length);
    // ReadToken with room for size - 1 characters and a NUL.
    static const char* ReadCString(const char* p, char* out, int16_t size);
    // ReadToken into out + 1 with out[0] the length; size is limited to 256.
    static const char* ReadPString(const char* p, unsigned char* out, int16_t size);
    // The characters up to the line end, at most max; steps over one CR or LF.
    static const char* CopyLine(const char* p, char* out, int16_t max, int16_t* length);
    // CopyLine with room for size - 1 characters and a NUL.
    static const char* ReadLine(const char* p, char* out, int16_t size);
    // A name of the table (ended by an entry with a null or empty name) or a 16-bit number.
    static const char* ReadEnum(const char* p, const EnumEntry* table, int16_t* out, const char* label,
                                int16_t* error);

    // ---- Appenders: each grows the block at its end and writes there. When the block cannot
    // grow, nothing is written and the result is false. ----
    static bool AppendBytes(const void* source, int32_t n, CMemory* block);
    static bool AppendLongBE(int32_t value, CMemory* block);
    static bool AppendShortBE(int16_t value, CMemory* block);
    static bool AppendCString(const char* text, CMemory* block);
    static bool AppendByte(char value, CMemory* block);
};
