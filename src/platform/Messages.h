#pragma once
// Seam: every message box of the program goes through one MessageService, so
// tests can answer the questions and check the exact texts and captions.

#include <QString>
#include <optional>

enum class MsgIcon { None, Information, Exclamation, Question, Error, Warning };
enum class MsgButtons { Ok, YesNo, YesNoCancel, OkCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

struct MessageRequest {
    QString text;
    QString caption;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    // The button that has the focus when the box opens; the first one when unset.
    std::optional<MsgAnswer> defaultButton;
};

class MessageService {
public:
    virtual ~MessageService() = default;
    // Shows the box modally and returns the button pressed. Closing the box
    // by its close button or Escape answers Cancel (or No / Ok where those
    // are the only ways out).
    virtual MsgAnswer show(const MessageRequest& request) = 0;

    MsgAnswer show(const QString& text, const QString& caption, MsgIcon icon,
                   MsgButtons buttons = MsgButtons::Ok, std::optional<MsgAnswer> defaultButton = {}) {
        return show(MessageRequest{text, caption, icon, buttons, defaultButton});
    }
};
