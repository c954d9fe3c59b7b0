#include "ByteShape.h"

#include <QStringDecoder>

namespace Velmora::ByteShape {

namespace {

bool startsWith(QByteArrayView bytes, const char *mark, qsizetype size)
{
    return bytes.size() >= size && bytes.first(size) == QByteArrayView(mark, size);
}

} // namespace

qsizetype WideBomSize(QByteArrayView bytes)
{
    // UTF-32 LE begins like UTF-16 LE: the longer mark is tested first.
    if (startsWith(bytes, "\xFF\xFE\x00\x00", 4) || startsWith(bytes, "\x00\x00\xFE\xFF", 4))
        return 4;
    if (startsWith(bytes, "\xFF\xFE", 2) || startsWith(bytes, "\xFE\xFF", 2))
        return 2;
    return 0;
}

bool HasUtf8Bom(QByteArrayView bytes)
{
    return startsWith(bytes, "\xEF\xBB\xBF", Utf8BomSize);
}

Kind Classify(QByteArrayView bytes)
{
    if (WideBomSize(bytes) > 0)
        return Kind::WideText;
    if (bytes.contains('\0'))
        return Kind::NulBytes;
    return Kind::EightBitText;
}

QString DecodeWide(const QByteArray &bytes)
{
    QStringConverter::Encoding encoding = QStringConverter::Utf16LE;
    if (startsWith(bytes, "\xFF\xFE\x00\x00", 4))
        encoding = QStringConverter::Utf32LE;
    else if (startsWith(bytes, "\x00\x00\xFE\xFF", 4))
        encoding = QStringConverter::Utf32BE;
    else if (startsWith(bytes, "\xFE\xFF", 2))
        encoding = QStringConverter::Utf16BE;
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArrayView(bytes).sliced(WideBomSize(bytes)));
}

} // namespace Velmora::ByteShape
