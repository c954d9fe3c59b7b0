#include "DialogHeader.h"

#include <QPainter>

namespace Velmora {

DialogHeader::DialogHeader(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("DialogHeader"));
    setFixedHeight(40);
}

QString DialogHeader::picturePath(const QString &programFolder, const QString &designName)
{
    return programFolder + QStringLiteral("skins/Small_Head_") + designName + QStringLiteral(".bmp");
}

void DialogHeader::setPicture(const QString &path)
{
    m_picture = QPixmap(path);
    update();
}

void DialogHeader::setTitle(const QString &title)
{
    m_title = title;
    update();
}

void DialogHeader::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_picture.isNull())
        painter.drawPixmap(rect(), m_picture);
    QFont font = painter.font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.25);
    painter.setFont(font);
    painter.setPen(QColor(0x20, 0x30, 0x50));
    painter.drawText(rect().adjusted(14, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft, m_title);
}

} // namespace Velmora
