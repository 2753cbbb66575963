#pragma once
// Fingerprints of what a server shows to prove who it is, as the trust
// questions show them. The bytes come from the server: every reader here
// takes any bytes and gives an empty result for those it cannot read.

#include <QByteArray>
#include <QString>

namespace upload {

// The type name an SSH key blob starts with ("ssh-ed25519"), or empty.
QString keyTypeName(const QByteArray& blob);
// "SHA256:" and the unpadded Base64 of the blob's SHA-256, as ssh-keygen -l shows it.
QString sshFingerprint(const QByteArray& blob);
// The subjectPublicKeyInfo of a DER X.509 certificate, as DER (a part of
// cert), or empty where cert is not such a certificate.
QByteArray publicKeyInfo(const QByteArray& cert);
// Bytes as upper-case hexadecimal pairs separated by colons, as openssl shows
// a certificate's fingerprint.
QString colonHex(const QByteArray& bytes);

} // namespace upload
