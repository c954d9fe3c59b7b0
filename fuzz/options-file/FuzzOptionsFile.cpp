// libFuzzer target for "options.ini": any bytes load without a crash; a keep-alive interval that
// is no whole number of seconds is refused with a message that names it, and 30 seconds are
// used; and the options read are saved and read back unchanged, through the file's bytes.
#include "app/Options.h"

#include "common/IniFile.h"
#include "common/TextCodec.h"

#include "../FuzzCheck.h"
#include "../FuzzFolder.h"

#include <QByteArray>
#include <QFile>

#include <cstdint>

using namespace Velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 16 * 1024)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = TextCodec::Decode(bytes);

    bool intervalOk = false;
    const OptionsData parsed = Options::parse(text, &intervalOk);
    IniFile raw;
    raw.parse(text);
    const QString stored = raw.readString(IniFile::Settings, QStringLiteral("KeepaliveTime"), QStringLiteral("30"));
    FUZZ_CHECK(intervalOk == Options::isValidInterval(stored));
    FUZZ_CHECK(Options::isValidInterval(parsed.keepaliveTime));
    FUZZ_CHECK(intervalOk ? parsed.keepaliveTime == stored : parsed.keepaliveTime == u"30");

    bool again = false;
    FUZZ_CHECK(Options::parse(Options::toIniText(parsed), &again) == parsed && again);

    const QString base = fuzzFolder();
    FUZZ_CHECK(!base.isEmpty());
    const QString path = base + QStringLiteral("options.ini");
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(bytes) == bytes.size());
    }
    Options options(path);
    QString problem;
    FUZZ_CHECK(options.load(&problem) == intervalOk);
    FUZZ_CHECK(options.data() == parsed);
    FUZZ_CHECK(intervalOk == problem.isEmpty());
    if (!intervalOk)
        FUZZ_CHECK(problem.contains(QStringLiteral("KeepaliveTime")) && problem.contains(stored));
    FUZZ_CHECK(options.keepaliveSeconds() >= 0);

    // Saved and read back: the same options, through the bytes of the file.
    FUZZ_CHECK(options.save());
    Options reread(path);
    FUZZ_CHECK(reread.load());
    FUZZ_CHECK(reread.data() == parsed);
    return 0;
}
