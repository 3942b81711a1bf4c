// Message entries as text in the engine's formats.
#include "script/Messages.h"

#include <algorithm>

std::string TMsg::AsText() const {
    std::string text;
    switch (Kind) {
    case TMsgKind::Info:
        text = "Info: ";
        break;
    case TMsgKind::Warning:
        text = "Warning: ";
        break;
    case TMsgKind::Error:
        text = "Error: ";
        break;
    case TMsgKind::SyntaxError:
        text = "Syntax Error: ";
        break;
    case TMsgKind::RuntimeError:
        text = "Runtime Error: ";
        break;
    }
    text += Text;
    if (Pos.Known()) {
        text += " [line: " + std::to_string(Pos.Line) + ", column: " + std::to_string(Pos.Column);
        if (!Pos.File.empty()) {
            text += ", file: " + Pos.File;
        }
        text += "]";
    }
    return text;
}

void TMsgs::Add(TMsgKind kind, std::string text, TScriptPos pos) {
    Items.push_back(TMsg{kind, std::move(text), std::move(pos)});
}

bool TMsgs::HasErrors() const {
    return std::any_of(Items.begin(), Items.end(), [](const TMsg& m) {
        return m.Kind == TMsgKind::Error || m.Kind == TMsgKind::SyntaxError ||
               m.Kind == TMsgKind::RuntimeError;
    });
}

std::string TMsgs::AsText() const {
    std::string text;
    for (const TMsg& m : Items) {
        text += m.AsText();
        text += '\n';
    }
    return text;
}
