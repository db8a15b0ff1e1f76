// Modal message boxes for the few failures that stop the program before its
// window exists. They need no window and no initialised video.
#pragma once

namespace kbh {

enum class MessageBoxIcon {
  kError,        // the stop sign: the log cannot be written
  kExclamation,  // everything else the program announces this way
};

// Shows caption and text (Windows-1252, as all of the program's texts) with
// no owner window and waits until it is closed. The same text goes to
// standard error first, so that a run without a display still says why it
// stopped. False when no box could be shown; standard error has it anyway.
bool ShowMessageBox(const char* caption, const char* text, MessageBoxIcon icon);

}  // namespace kbh
