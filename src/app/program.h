#pragma once

// The program's four windows, created once and in this order: the main window, the verification
// window, the creation window and the text view. The application title is set first ("Ruvo"), as
// the job windows build their captions from it, and the main window is not shown automatically
// when the message loop starts.
void CreateProgramForms();

// The job windows' ties to the rest: the main window's options, sounds and drop handlers, and the
// creation window's text view. Part of CreateProgramForms.
void WireProgramForms();

// Frees the four windows in reverse order: RunProgram before it returns, and tests that build the
// windows themselves.
void DestroyProgramForms();

// The whole program block: the windows, the settings, the command line, the message loop, the
// settings once more, the windows freed. Returns the process exit code.
int RunProgram();
