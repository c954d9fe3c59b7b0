#include "PasswordCodec.h"

#include "TextCodec.h"

namespace Velmora {

QString EncodePassword(const QString &password)
{
    const QByteArray bytes = TextCodec::Encode(password);
    QString out;
    out.reserve(bytes.size() * 3);
    for (char c : bytes)
        out += QString::number(static_cast<unsigned char>(c)).rightJustified(3, u'0');
    return out;
}

QString DecodePassword(const QString &encoded, bool *ok)
{
    QByteArray bytes;
    bool allNumbers = true;
    for (qsizetype i = 0; i + 3 <= encoded.size(); i += 3) {
        bool groupOk = false;
        const int value = encoded.mid(i, 3).trimmed().toInt(&groupOk);
        if (!groupOk) {
            allNumbers = false;
            break;
        }
        bytes.append(char(value % 256));
    }
    if (ok)
        *ok = allNumbers;
    return TextCodec::Decode(bytes);
}

} // namespace Velmora
