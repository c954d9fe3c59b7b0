#include "engine/ftp/AsciiConverter.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>

using namespace Velmora;

namespace {

// Converts the input split at every possible position into two chunks (and as one chunk) and
// checks that every split gives the same result.
void expectConversion(AsciiConverter::Direction direction, const QByteArray &input, const QByteArray &expected)
{
    for (qsizetype cut = 0; cut <= input.size(); ++cut) {
        AsciiConverter converter(direction);
        QByteArray out = converter.convert(input.left(cut));
        out += converter.convert(input.mid(cut));
        out += converter.finish();
        EXPECT_EQ(out, expected) << "input " << input.toPercentEncoding().constData() << " cut at " << cut;
    }
}

TEST(AsciiConverter, DownloadsTurnCrLfIntoLf)
{
    using D = AsciiConverter::Direction;
    expectConversion(D::ToLocal, "a\r\nb\r\n", "a\nb\n");
    expectConversion(D::ToLocal, "a\rb", "a\rb");
    expectConversion(D::ToLocal, "end\r", "end\r");
    expectConversion(D::ToLocal, "\r\r\n", "\r\n");
    expectConversion(D::ToLocal, "\n\n", "\n\n");
    expectConversion(D::ToLocal, "", "");
}

TEST(AsciiConverter, UploadsTurnBareLfIntoCrLf)
{
    using D = AsciiConverter::Direction;
    expectConversion(D::ToNetwork, "a\nb\n", "a\r\nb\r\n");
    expectConversion(D::ToNetwork, "a\r\nb", "a\r\nb");
    expectConversion(D::ToNetwork, "\r", "\r");
    expectConversion(D::ToNetwork, "\n\n", "\r\n\r\n");
    expectConversion(D::ToNetwork, "\r\n\n", "\r\n\r\n");
}

TEST(AsciiConverter, TextDownloadedAndUploadedAgainIsUnchanged)
{
    const QList<QByteArray> wire = {"line one\r\nline two \xC3\xA4\r\n\r\nlast", "\r\n", "a\rb\r\n", ""};
    for (const QByteArray &text : wire) {
        AsciiConverter down(AsciiConverter::Direction::ToLocal);
        const QByteArray local = down.convert(text) + down.finish();
        AsciiConverter up(AsciiConverter::Direction::ToNetwork);
        EXPECT_EQ(up.convert(local) + up.finish(), text);
    }
}

} // namespace
