#!/usr/bin/python3
"""Makes a test certificate authority and server certificates for the FTP over TLS tests.

Writes into the given folder:
  ca.pem            the authority's certificate (what SSL_CERT_FILE points to in the tests)
  server.pem        127.0.0.1 and localhost, signed by the authority (certificate and key)
  wrong-host.pem    only "elsewhere.invalid", signed by the authority
  expired.pem       127.0.0.1, signed by the authority, expired a year ago
  self-signed.pem   127.0.0.1, signed by itself
  self-signed-2.pem another self-signed certificate for 127.0.0.1 (a "changed" certificate)
"""
import datetime
import ipaddress
import os
import sys

from cryptography import x509
from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import ec
from cryptography.x509.oid import NameOID

NOW = datetime.datetime.now(datetime.timezone.utc).replace(tzinfo=None)


def name(common_name):
    return x509.Name([x509.NameAttribute(NameOID.ORGANIZATION_NAME, "Velmora Test"),
                      x509.NameAttribute(NameOID.COMMON_NAME, common_name)])


def make(subject, issuer, issuer_key, key, days_from, days_to, dns=(), ips=(), ca=False):
    builder = (x509.CertificateBuilder()
               .subject_name(name(subject))
               .issuer_name(name(issuer))
               .public_key(key.public_key())
               .serial_number(x509.random_serial_number())
               .not_valid_before(NOW + datetime.timedelta(days=days_from))
               .not_valid_after(NOW + datetime.timedelta(days=days_to))
               .add_extension(x509.BasicConstraints(ca=ca, path_length=None), critical=True))
    alt = [x509.DNSName(d) for d in dns] + [x509.IPAddress(ipaddress.ip_address(i)) for i in ips]
    if alt:
        builder = builder.add_extension(x509.SubjectAlternativeName(alt), critical=False)
    if ca:
        builder = builder.add_extension(
            x509.KeyUsage(digital_signature=True, content_commitment=False, key_encipherment=False,
                          data_encipherment=False, key_agreement=False, key_cert_sign=True, crl_sign=True,
                          encipher_only=False, decipher_only=False), critical=True)
    return builder.sign(issuer_key or key, hashes.SHA256())


def pem(cert, key=None):
    data = cert.public_bytes(serialization.Encoding.PEM)
    if key is not None:
        data += key.private_bytes(serialization.Encoding.PEM, serialization.PrivateFormat.PKCS8,
                                  serialization.NoEncryption())
    return data


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    ca_key = ec.generate_private_key(ec.SECP256R1())
    ca = make("Velmora Test CA", "Velmora Test CA", None, ca_key, -1, 365, ca=True)
    files = {"ca.pem": pem(ca)}
    leaves = {
        "server.pem": ("127.0.0.1", True, -1, 365, ("localhost",), ("127.0.0.1", "::1")),
        "wrong-host.pem": ("elsewhere.invalid", True, -1, 365, ("elsewhere.invalid",), ()),
        "expired.pem": ("127.0.0.1", True, -730, -365, ("localhost",), ("127.0.0.1",)),
        "self-signed.pem": ("127.0.0.1", False, -1, 365, ("localhost",), ("127.0.0.1",)),
        "self-signed-2.pem": ("127.0.0.1", False, -1, 365, ("localhost",), ("127.0.0.1",)),
    }
    for file, (cn, signed, start, end, dns, ips) in leaves.items():
        key = ec.generate_private_key(ec.SECP256R1())
        if signed:
            cert = make(cn, "Velmora Test CA", ca_key, key, start, end, dns, ips)
            files[file] = pem(cert, key) + pem(ca)
        else:
            cert = make(cn, cn, None, key, start, end, dns, ips)
            files[file] = pem(cert, key)
    for file, data in files.items():
        with open(os.path.join(out, file), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
