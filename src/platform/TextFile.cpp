#include "platform/TextFile.h"

#include "platform/SjisCodec.h"
#include "resources/Messages.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace textfile {

namespace {
void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}
} // namespace

std::optional<QString> read(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, msg::fileReadError(QDir::toNativeSeparators(path), file.errorString()));
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        setError(error, msg::fileReadError(QDir::toNativeSeparators(path), file.errorString()));
        return std::nullopt;
    }
    return sjis::decode(bytes, sjis::LineBreaks::CrLf);
}

bool write(const QString& path, const QString& text, QString* error) {
    // QSaveFile writes a temporary file beside the target and renames it over
    // the target only when everything was written.
    QSaveFile file(path);
    auto fail = [&] {
        setError(error, msg::fileWriteError(QDir::toNativeSeparators(path), file.errorString()));
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail();
    const QByteArray bytes = sjis::encode(text, sjis::LineBreaks::CrLf);
    if (file.write(bytes) != bytes.size())
        return fail();
    if (!file.commit()) {
        setError(error, msg::fileWriteError(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    return true;
}

} // namespace textfile
