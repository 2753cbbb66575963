#include "platform/ReportedFile.h"

#include "platform/TextFile.h"
#include "resources/Messages.h"

std::optional<QString> readTextReporting(const QString& path, MessageService& messages) {
    QString error;
    std::optional<QString> text = textfile::read(path, &error);
    if (!text)
        messages.show(error, msg::AppName, MsgIcon::Error);
    return text;
}

bool writeTextReporting(const QString& path, const QString& text, MessageService& messages) {
    QString error;
    if (textfile::write(path, text, &error))
        return true;
    messages.show(error, msg::AppName, MsgIcon::Error);
    return false;
}
