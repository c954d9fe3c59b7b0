#include "ToolDialog.h"

#include "DesignState.h"
#include "DialogHeader.h"
#include "common/Language.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace Velmora {

ToolDialog::ToolDialog(const AppContext &context, QWidget *parent, QString englishTitle, QString germanTitle)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_context(context)
    , m_englishTitle(std::move(englishTitle))
    , m_germanTitle(std::move(germanTitle))
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    m_header = new DialogHeader(this);
    outer->addWidget(m_header);
    m_content = new QVBoxLayout;
    m_content->setContentsMargins(12, 10, 12, 12);
    outer->addLayout(m_content, 1);
    connect(&m_context.language, &Language::languageChanged, this, [this] {
        refreshHeader();
        retranslate();
    });
}

ToolDialog::OkAbortButtons ToolDialog::addOkAbortButtons()
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    auto *ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    auto *abort = new QPushButton(this);
    abort->setObjectName(QStringLiteral("AbortButton"));
    row->addWidget(ok);
    row->addWidget(abort);
    m_content->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
    return {ok, abort};
}

QString ToolDialog::text(const QString &english, const QString &german) const
{
    return m_context.text(english, german);
}

QString ToolDialog::headerTitle() const
{
    return text(m_englishTitle, m_germanTitle);
}

void ToolDialog::refreshHeader()
{
    // The main window's caption as it is now: with the connected site's name once connected.
    const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    setWindowTitle(owner && !owner->windowTitle().isEmpty() ? owner->windowTitle() : m_context.captionText());
    m_header->setTitle(headerTitle());
    const QString design = m_context.design.name();
    m_header->setPicture(DialogHeader::picturePath(m_context.folders.programFolder, design));
}

void ToolDialog::showEvent(QShowEvent *event)
{
    refreshHeader();
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        adjustSize();
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::showEvent(event);
}

} // namespace Velmora
