#pragma once

#include <QPixmap>
#include <QWidget>

namespace Velmora {

// The band at the top of every dialog: the design's header picture stretched across the
// dialog with the dialog's title drawn over it. A missing picture leaves the band empty.
class DialogHeader : public QWidget {
    Q_OBJECT
public:
    explicit DialogHeader(QWidget *parent = nullptr);

    static QString picturePath(const QString &programFolder, const QString &designName);
    void setPicture(const QString &path);
    void setTitle(const QString &title);
    const QString &title() const { return m_title; }
    bool hasPicture() const { return !m_picture.isNull(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
    QString m_title;
};

} // namespace Velmora
