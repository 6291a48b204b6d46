#pragma once
// The program's start sets this so a settings save that does not reach the file is said once,
// in a message box, with the reason, instead of being lost in silence.
namespace ui {

// The box comes from the event loop after the saving call has returned, never in its middle.
void SaySettingsSaveFailures();

}  // namespace ui
