// velmora_assetgen: paints Velmora's pictures at build time so the repository holds no binary
// images. Usage: velmora_assetgen OUTPUT_DIR
//                velmora_assetgen --icons ICON_DIR
//
// The first form writes
//   OUTPUT_DIR/recom_EN/m_splash.jpg, OUTPUT_DIR/recom_GR/m_splash.jpg   (480x300 splash screens)
//   OUTPUT_DIR/skins/Small_Head_<Design>.bmp   (600x48 header band)
//   OUTPUT_DIR/skins/ControlBar_<Design>.bmp   (900x64 toolbar background)
//   OUTPUT_DIR/skins/FilterBar_<Design>.bmp    (256x256 seamless panel background)
// for the designs Office2003Blue, Office2003Olive, Office2003Silver, Aluminium, Gold.
// The second writes the program icon for desktops in the hicolor theme's layout:
//   ICON_DIR/hicolor/<N>x<N>/apps/velmora.png for N = 16, 22, 24, 32, 48, 64, 128, 256, 512.

#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace {

bool saveImage(const QImage &image, const QString &path, const char *format, int quality = -1)
{
    if (!image.save(path, format, quality)) {
        std::fprintf(stderr, "velmora_assetgen: cannot write %s\n", qPrintable(QDir::toNativeSeparators(path)));
        return false;
    }
    return true;
}

QColor mix(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// ---------------------------------------------------------------------------------------------
// Splash screen
// ---------------------------------------------------------------------------------------------

struct SplashTexts {
    QString language;   // folder suffix: EN or GR
    QString tagline;
    QString loading;
};

// A filled arrow along the x axis from x0 to x1 (either direction) centred on y.
QPainterPath arrowPath(qreal x0, qreal x1, qreal y, qreal shaft, qreal head, qreal headLength)
{
    const qreal dir = x1 >= x0 ? 1.0 : -1.0;
    const qreal neck = x1 - dir * headLength;
    QPainterPath p;
    p.moveTo(x0, y - shaft / 2);
    p.lineTo(neck, y - shaft / 2);
    p.lineTo(neck, y - head / 2);
    p.lineTo(x1, y);
    p.lineTo(neck, y + head / 2);
    p.lineTo(neck, y + shaft / 2);
    p.lineTo(x0, y + shaft / 2);
    p.closeSubpath();
    return p;
}

// The Velmora emblem: a rounded tile holding two file panes with transfer arrows between them.
// Without detail (small icons) the shadow and the list rows are left out: at a few pixels
// they only blur the panes and arrows.
void paintEmblem(QPainter &p, const QRectF &tile, bool detail = true)
{
    const qreal s = tile.width() / 100.0; // the emblem is laid out on a 100x100 grid
    const qreal radius = 23 * s;

    // Soft drop shadow made of a few widening, fading rounded rects.
    p.setPen(Qt::NoPen);
    for (int i = 6; detail && i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, 9));
        p.drawRoundedRect(tile.translated(0, 4 * s).adjusted(-i * s, -i * s, i * s, i * s), radius + i * s, radius + i * s);
    }

    QLinearGradient body(tile.topLeft(), tile.bottomRight());
    body.setColorAt(0.0, QColor(0x3a, 0xd6, 0xc8));
    body.setColorAt(0.55, QColor(0x2b, 0x9c, 0xe0));
    body.setColorAt(1.0, QColor(0x4a, 0x5b, 0xe6));
    p.setBrush(body);
    p.drawRoundedRect(tile, radius, radius);

    // Gentle gloss on the upper half.
    QLinearGradient gloss(tile.topLeft(), QPointF(tile.left(), tile.center().y()));
    gloss.setColorAt(0.0, QColor(255, 255, 255, 70));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(gloss);
    p.drawRoundedRect(tile, radius, radius);
    p.setPen(QPen(QColor(255, 255, 255, 60), 1.0 * s));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(tile.adjusted(0.5 * s, 0.5 * s, -0.5 * s, -0.5 * s), radius, radius);

    auto at = [&](qreal x, qreal y) { return QPointF(tile.left() + x * s, tile.top() + y * s); };

    // Two panes: local on the left, server on the right.
    for (int pane = 0; pane < 2; ++pane) {
        const qreal x = pane == 0 ? 16 : 56;
        const QRectF r(at(x, 21), QSizeF(28 * s, 58 * s));
        p.setPen(QPen(QColor(255, 255, 255, 200), 1.6 * s));
        p.setBrush(QColor(255, 255, 255, 48));
        p.drawRoundedRect(r, 5 * s, 5 * s);
        // title strip
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 200));
        QPainterPath strip;
        strip.addRoundedRect(r, 5 * s, 5 * s);
        QPainterPath clip;
        clip.addRect(QRectF(r.topLeft(), QSizeF(r.width(), 7 * s)));
        p.drawPath(strip.intersected(clip));
        // list rows
        p.setBrush(QColor(255, 255, 255, 150));
        for (int row = 0; detail && row < 6; ++row) {
            const qreal w = (row % 3 == 1 ? 13 : row % 3 == 2 ? 17 : 20) * s;
            p.drawRoundedRect(QRectF(at(x + 4, 33 + row * 7.5), QSizeF(w, 2.6 * s)), 1.3 * s, 1.3 * s);
        }
    }

    // Transfer arrows crossing between the panes: upload above, download below.
    const QPainterPath up = arrowPath(tile.left() + 30 * s, tile.left() + 72 * s, tile.top() + 40 * s, 7 * s, 18 * s, 11 * s);
    const QPainterPath down = arrowPath(tile.left() + 70 * s, tile.left() + 28 * s, tile.top() + 61 * s, 7 * s, 18 * s, 11 * s);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0e, 0x2a, 0x66, 70));
    p.drawPath(up.translated(0, 1.5 * s));
    p.drawPath(down.translated(0, 1.5 * s));
    p.setBrush(QColor(0xff, 0xb8, 0x3d));
    p.drawPath(up);
    p.setBrush(QColor(0xff, 0xff, 0xff));
    p.drawPath(down);
}

QImage makeSplash(const SplashTexts &texts)
{
    constexpr int W = 480;
    constexpr int H = 300;
    QImage img(W, H, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Backdrop: deep indigo to ocean teal, with a soft glow behind the emblem.
    QLinearGradient bg(0, 0, W, H);
    bg.setColorAt(0.0, QColor(0x14, 0x1a, 0x3c));
    bg.setColorAt(0.6, QColor(0x12, 0x34, 0x5c));
    bg.setColorAt(1.0, QColor(0x0b, 0x5a, 0x6e));
    p.fillRect(img.rect(), bg);

    QRadialGradient glow(QPointF(98, 138), 170);
    glow.setColorAt(0.0, QColor(0x3a, 0xd6, 0xc8, 70));
    glow.setColorAt(1.0, QColor(0x3a, 0xd6, 0xc8, 0));
    p.fillRect(img.rect(), glow);

    // Faint concentric arcs in the lower right for depth.
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 7; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 14 - i), 1.2));
        const qreal r = 90 + i * 34;
        p.drawEllipse(QPointF(W + 30, H + 40), r, r);
    }

    paintEmblem(p, QRectF(44, 86, 104, 104));

    // Product name.
    QFont nameFont;
    nameFont.setPixelSize(50);
    nameFont.setWeight(QFont::Bold);
    nameFont.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    p.setFont(nameFont);
    const QString name = QStringLiteral("Velmora");
    const qreal textX = 174;
    const qreal nameBaseline = 140;
    QLinearGradient nameFill(0, nameBaseline - 40, 0, nameBaseline);
    nameFill.setColorAt(0.0, QColor(255, 255, 255));
    nameFill.setColorAt(1.0, QColor(0xd6, 0xf1, 0xf5));
    QPainterPath namePath;
    namePath.addText(QPointF(textX, nameBaseline), nameFont, name);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawPath(namePath.translated(0, 2));
    p.setBrush(nameFill);
    p.drawPath(namePath);

    // Accent rule under the name.
    const qreal nameWidth = QFontMetricsF(nameFont).horizontalAdvance(name);
    QLinearGradient rule(textX, 0, textX + nameWidth, 0);
    rule.setColorAt(0.0, QColor(0xff, 0xb8, 0x3d));
    rule.setColorAt(1.0, QColor(0xff, 0xb8, 0x3d, 0));
    p.fillRect(QRectF(textX + 2, nameBaseline + 12, nameWidth * 0.8, 2.5), rule);

    // Tagline.
    QFont tagFont;
    tagFont.setPixelSize(16);
    p.setFont(tagFont);
    p.setPen(QColor(0xc4, 0xe6, 0xee));
    p.drawText(QPointF(textX + 2, nameBaseline + 38), texts.tagline);

    // Footer: loading note and a thin accent band along the bottom edge.
    QFont smallFont;
    smallFont.setPixelSize(11);
    p.setFont(smallFont);
    p.setPen(QColor(255, 255, 255, 150));
    p.drawText(QPointF(20, H - 18), texts.loading);

    QLinearGradient band(0, 0, W, 0);
    band.setColorAt(0.0, QColor(0x3a, 0xd6, 0xc8));
    band.setColorAt(0.6, QColor(0x2b, 0x9c, 0xe0));
    band.setColorAt(1.0, QColor(0xff, 0xb8, 0x3d));
    p.fillRect(QRectF(0, H - 4, W, 4), band);

    // Hairline frame so the splash reads as a window on any desktop.
    p.setPen(QPen(QColor(255, 255, 255, 30), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, W - 1, H - 1));
    p.end();
    return img;
}

// ---------------------------------------------------------------------------------------------
// Program icon
// ---------------------------------------------------------------------------------------------

// The emblem alone on a transparent square, with room for its shadow at the larger sizes.
QImage makeIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const bool detail = size >= 32;
    const qreal margin = detail ? size * 0.08 : size / 16.0;
    const qreal side = size - 2 * margin;
    // Larger icons sit a little high so the shadow below stays inside the square.
    paintEmblem(p, QRectF(margin, detail ? margin * 0.7 : margin, side, side), detail);
    p.end();
    return img;
}

bool writeIcons(const QDir &out)
{
    bool ok = true;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const QString dir = out.filePath(QStringLiteral("hicolor/%1x%1/apps").arg(size));
        if (!QDir().mkpath(dir)) {
            std::fprintf(stderr, "velmora_assetgen: cannot create %s\n", qPrintable(dir));
            return false;
        }
        ok &= saveImage(makeIcon(size), dir + QStringLiteral("/velmora.png"), "PNG");
    }
    return ok;
}

// ---------------------------------------------------------------------------------------------
// Skins
// ---------------------------------------------------------------------------------------------

struct Design {
    QString name;
    QColor light;   // left/top end of the gradients
    QColor mid;     // right/bottom end
    QColor deep;    // richer tone for the large header
    QColor line;    // separator line at the bottom of a header band
    QColor accent;  // thin highlight stripe
};

QImage makeSmallHead(const Design &d)
{
    constexpr int W = 600;
    constexpr int H = 48;
    QImage img(W, H, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, W, 0);
    g.setColorAt(0.0, d.light);
    g.setColorAt(1.0, d.mid);
    p.fillRect(img.rect(), g);

    // Barely visible vertical shading keeps the band from looking flat.
    QLinearGradient shade(0, 0, 0, H);
    shade.setColorAt(0.0, QColor(255, 255, 255, 60));
    shade.setColorAt(0.5, QColor(255, 255, 255, 0));
    shade.setColorAt(1.0, QColor(0, 0, 0, 18));
    p.fillRect(img.rect(), shade);

    p.fillRect(QRect(0, 0, W, 1), QColor(255, 255, 255, 110));
    p.fillRect(QRect(0, H - 1, W, 1), d.line);
    p.end();
    return img;
}

QImage makeHead(const Design &d)
{
    constexpr int W = 900;
    constexpr int H = 64;
    QImage img(W, H, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient g(0, 0, W, 0);
    g.setColorAt(0.0, d.light);
    g.setColorAt(0.55, d.mid);
    g.setColorAt(1.0, d.deep);
    p.fillRect(img.rect(), g);

    // Glassy upper half.
    QLinearGradient gloss(0, 0, 0, H);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 95));
    gloss.setColorAt(0.48, QColor(255, 255, 255, 25));
    gloss.setColorAt(0.52, QColor(255, 255, 255, 0));
    gloss.setColorAt(1.0, QColor(0, 0, 0, 28));
    p.fillRect(img.rect(), gloss);

    // Sweeping curves towards the right end, echoing the splash.
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 5; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 34 - i * 5), 1.4));
        const qreal r = 60 + i * 26;
        p.drawEllipse(QPointF(W - 40, H + 30), r * 1.6, r);
    }

    p.fillRect(QRect(0, 0, W, 1), QColor(255, 255, 255, 130));
    p.fillRect(QRect(0, H - 3, W, 2), d.accent);
    p.fillRect(QRect(0, H - 1, W, 1), d.line);
    p.end();
    return img;
}

// A background tile that repeats without seams: the shading is periodic in both directions.
QImage makeBackground(const Design &d)
{
    constexpr int N = 256;
    QImage img(N, N, QImage::Format_RGB32);
    const QColor hi = mix(d.light, QColor(Qt::white), 0.35);
    const QColor lo = mix(d.light, d.mid, 0.45);
    constexpr double tau = 2.0 * std::numbers::pi;
    for (int y = 0; y < N; ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < N; ++x) {
            const double u = tau * x / N;
            const double v = tau * y / N;
            // Gentle diagonal waves, 0..1.
            const double t = 0.5 + 0.25 * std::cos(u + v) + 0.25 * std::cos(v - 0.5 * std::sin(u));
            const int r = int(std::lround(lo.red() + (hi.red() - lo.red()) * t));
            const int g = int(std::lround(lo.green() + (hi.green() - lo.green()) * t));
            const int b = int(std::lround(lo.blue() + (hi.blue() - lo.blue()) * t));
            line[x] = qRgb(r, g, b);
        }
    }
    return img;
}

// Build logs stay quiet: the offscreen platform complains about a missing XDG_RUNTIME_DIR,
// which does not matter for painting images. Everything else is passed through.
void messageFilter(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (message.contains(QLatin1StringView("XDG_RUNTIME_DIR")))
        return;
    std::fprintf(stderr, "velmora_assetgen: %s\n", qPrintable(message));
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(messageFilter);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    if (argc == 3 && qstrcmp(argv[1], "--icons") == 0)
        return writeIcons(QDir(QString::fromLocal8Bit(argv[2]))) ? 0 : 1;
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora_assetgen OUTPUT_DIR\n"
                             "       velmora_assetgen --icons ICON_DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = true;

    const SplashTexts splashes[] = {
        {QStringLiteral("EN"), QStringLiteral("FTP client for web developers"), QStringLiteral("Loading...")},
        {QStringLiteral("GR"), QString::fromUtf8("FTP-Client f\xc3\xbcr Webentwickler"), QStringLiteral("Wird geladen...")},
    };
    for (const SplashTexts &t : splashes) {
        const QString dir = out.filePath(QStringLiteral("recom_") + t.language);
        if (!QDir().mkpath(dir)) {
            std::fprintf(stderr, "velmora_assetgen: cannot create %s\n", qPrintable(dir));
            return 1;
        }
        ok &= saveImage(makeSplash(t), dir + QStringLiteral("/m_splash.jpg"), "JPG", 92);
    }

    const Design designs[] = {
        {QStringLiteral("Office2003Blue"), QColor(0xe3, 0xef, 0xff), QColor(0xa6, 0xc6, 0xf2), QColor(0x5a, 0x8c, 0xdc),
         QColor(0x3b, 0x61, 0xa8), QColor(0xf9, 0xc9, 0x5c)},
        {QStringLiteral("Office2003Olive"), QColor(0xf3, 0xf6, 0xde), QColor(0xc6, 0xd2, 0x9e), QColor(0x8a, 0xa0, 0x5a),
         QColor(0x60, 0x77, 0x3a), QColor(0xf2, 0xc2, 0x5a)},
        {QStringLiteral("Office2003Silver"), QColor(0xf5, 0xf5, 0xf8), QColor(0xcf, 0xd0, 0xdc), QColor(0x9c, 0x9d, 0xb4),
         QColor(0x6f, 0x70, 0x8a), QColor(0xe8, 0xb8, 0x5a)},
        {QStringLiteral("Aluminium"), QColor(0xee, 0xf0, 0xf2), QColor(0xc4, 0xc9, 0xcf), QColor(0x8e, 0x96, 0xa0),
         QColor(0x5a, 0x62, 0x6c), QColor(0x7f, 0xb2, 0xd9)},
        {QStringLiteral("Gold"), QColor(0xfb, 0xf3, 0xdc), QColor(0xee, 0xd5, 0x8e), QColor(0xc9, 0x9a, 0x2e),
         QColor(0x8a, 0x64, 0x12), QColor(0xff, 0xe0, 0x8a)},
    };
    const QString skins = out.filePath(QStringLiteral("skins"));
    if (!QDir().mkpath(skins)) {
        std::fprintf(stderr, "velmora_assetgen: cannot create %s\n", qPrintable(skins));
        return 1;
    }
    for (const Design &d : designs) {
        ok &= saveImage(makeSmallHead(d), skins + QStringLiteral("/Small_Head_") + d.name + QStringLiteral(".bmp"), "BMP");
        ok &= saveImage(makeHead(d), skins + QStringLiteral("/ControlBar_") + d.name + QStringLiteral(".bmp"), "BMP");
        ok &= saveImage(makeBackground(d), skins + QStringLiteral("/FilterBar_") + d.name + QStringLiteral(".bmp"), "BMP");
    }
    return ok ? 0 : 1;
}
