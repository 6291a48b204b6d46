#pragma once
// The host's side of a script's message boxes. Apart from scriptengine.h so that the
// engine's object layer, which calls the host, does not reach back to the engine's API.
#include <QString>

#include <optional>

namespace script {

// What MsgBox and InputBox of a script show. Without a host MsgBox answers vbOK (1) and
// InputBox an empty string.
class ScriptHost {
public:
    virtual ~ScriptHost() = default;
    // buttons: the script's MsgBox flags (vbYesNo, vbQuestion ...); returns the button pressed
    // as the language's constant (vbOK = 1 ... vbNo = 7).
    virtual int msgBox(const QString& prompt, int buttons, const QString& title) = 0;
    // The text entered, or nothing when the user cancelled.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
};

}  // namespace script
