// Fingerprints of what a server shows to prove who it is: SSH host keys and
// the public key of an X.509 certificate, read from the bytes the server sent.

#include "publish/KeyFingerprints.h"

#include <QCryptographicHash>

using namespace Qt::StringLiterals;

namespace upload {

namespace {

// One DER element: where its contents start and how long they are.
struct Der {
    qsizetype start = 0, length = 0, end = 0;
    unsigned char tag = 0;
};

bool readDer(const QByteArray& data, qsizetype at, Der* out) {
    if (at + 2 > data.size())
        return false;
    const auto* b = reinterpret_cast<const unsigned char*>(data.constData());
    out->tag = b[at];
    qsizetype pos = at + 1;
    qsizetype length = b[pos++];
    if (length & 0x80) {
        const int bytes = int(length & 0x7f);
        if (bytes == 0 || bytes > 4 || pos + bytes > data.size())
            return false;
        length = 0;
        for (int i = 0; i < bytes; ++i)
            length = (length << 8) | b[pos++];
    }
    if (pos + length > data.size())
        return false;
    out->start = pos;
    out->length = length;
    out->end = pos + length;
    return true;
}

} // namespace

// The SSH key blob starts with its type name as a length-prefixed string.
QString keyTypeName(const QByteArray& blob) {
    if (blob.size() < 4)
        return {};
    const auto* b = reinterpret_cast<const unsigned char*>(blob.constData());
    const quint32 n = (quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8) | quint32(b[3]);
    if (n == 0 || n > 64 || qsizetype(n) + 4 > blob.size())
        return {};
    return QString::fromLatin1(blob.mid(4, n));
}

QString sshFingerprint(const QByteArray& blob) {
    QByteArray b64 = QCryptographicHash::hash(blob, QCryptographicHash::Sha256).toBase64();
    while (b64.endsWith('='))
        b64.chop(1);
    return u"SHA256:"_s + QString::fromLatin1(b64);
}

// The subjectPublicKeyInfo of an X.509 certificate, as DER.
QByteArray publicKeyInfo(const QByteArray& cert) {
    Der certificate, tbs, field;
    if (!readDer(cert, 0, &certificate) || !readDer(cert, certificate.start, &tbs))
        return {};
    qsizetype at = tbs.start;
    // [0] version (optional), serial, signature, issuer, validity, subject, key
    if (!readDer(cert, at, &field))
        return {};
    if (field.tag == 0xa0) {
        at = field.end;
    }
    for (int i = 0; i < 5; ++i) {
        if (!readDer(cert, at, &field))
            return {};
        at = field.end;
    }
    if (!readDer(cert, at, &field) || field.tag != 0x30)
        return {};
    return cert.mid(at, field.end - at);
}

QString colonHex(const QByteArray& bytes) {
    QString out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i)
            out += u':';
        out += QString::number(quint8(bytes[i]), 16).rightJustified(2, u'0').toUpper();
    }
    return out;
}

} // namespace upload
