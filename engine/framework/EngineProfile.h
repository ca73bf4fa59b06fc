#pragma once
// EngineProfile: the rules in which the two programs built on this engine differ. A program
// sets its profile once, before it makes its application object; the game keeps the default
// (every rule off), the launcher turns them on. Each field is one rule and is read where the
// rule acts, so the engine stays one build for both programs.
struct EngineProfile {
    // Reports: only levels 0 and 2 (fatal, assert) show a box and end the program; every
    // other level returns at once, and there is no debug switch (it always reads false).
    bool onlyFatalReportsAct = false;
    // Path test: CFileSpec::Exists opens a file for reading, or else tries the path as a
    // folder that could be made current (dropping one trailing backslash from the stored
    // path); the attributes alone are not enough.
    bool pathTestOpens = false;
    // Define values: the value is read on the directive's line only, an unknown symbol in it
    // is a parse error, and a value that is no expression is the rest of the line as text
    // (an empty value included).
    bool defineValueIsLineText = false;
    // Painting: the off-screen pass clips each frame to its parent's region.
    bool offScreenPassClipsToParent = false;
    // Painting: the area the direct (0x200) frames keep off the copy is worked out by the
    // first buffered paint of a root frame and kept until that frame is deleted.
    bool directMaskKeptOnRoot = false;
    // Painting: a window repainting one opaque leaf draws it on the screen when the leaf
    // itself is direct (0x200), not when the root frame is.
    bool leafPaintTestsOwnDirectBit = false;
    // Painting: only a window made with the off-screen option (0x40) ever gets an off-screen
    // environment, also not from a palette change.
    bool offScreenOnlyWhenShadowed = false;
    // Activation: activating shows the window after it became active and leaves the enabled
    // state of the frames alone; deactivating gives the native window no focus and ends a
    // capture up and left of the frame that holds it.
    bool activationKeepsFramesEnabled = false;
};

// The profile in force (the default one until a program sets another).
const EngineProfile& GetEngineProfile();
void SetEngineProfile(const EngineProfile& profile);
// Back to the default; the test fixture calls it before every test.
void ResetEngineProfile();

// The launcher's profile: every rule on.
EngineProfile LauncherProfile();
