// The fingerprint readers take whatever bytes a server sends: a certificate's
// public key is a DER sequence cut from the certificate itself or nothing, a
// host key's type name is the blob's own leading name or nothing, and the
// fingerprints keep their fixed forms.

#include "FuzzCheck.h"
#include "publish/KeyFingerprints.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    const QByteArray key = upload::publicKeyInfo(bytes);
    if (!key.isEmpty()) {
        CHECK(key.front() == '\x30');
        CHECK(bytes.contains(key));
    }

    const QString name = upload::keyTypeName(bytes);
    if (!name.isEmpty()) {
        CHECK(name.size() <= 64);
        CHECK(bytes.mid(4).startsWith(name.toLatin1()));
    }

    const QString fingerprint = upload::sshFingerprint(bytes);
    CHECK(fingerprint.startsWith(QStringLiteral("SHA256:")) && fingerprint.size() == 7 + 43);

    const QByteArray head = bytes.left(64);
    CHECK(upload::colonHex(head).size() == (head.isEmpty() ? 0 : 3 * head.size() - 1));
    return 0;
}
